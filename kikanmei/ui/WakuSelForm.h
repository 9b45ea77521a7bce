#pragma once

#include <QDialog>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ralvo {

// "挿入枠の選択": what a new or empty frame is to hold. The choice is never
// reset, so the dialog offers the user's last one.
class TWakuSelForm : public QDialog
{
    Q_OBJECT

public:
    enum Choice { Text = 0, Picture = 1 };

    explicit TWakuSelForm(QWidget *parent = nullptr);

    // The chosen item: 0 text, 1 picture.
    int ItemIndex() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Label1 = nullptr;                 // the question
    QButtonGroup *RadioGroup1 = nullptr;      // the frame's content: Text or Picture
    QRadioButton *RadioGroup1Item0 = nullptr; // "文字列": a text frame
    QRadioButton *RadioGroup1Item1 = nullptr; // "ｸﾞﾗﾌｨｯｸﾌｧｲﾙ": a picture frame
    QPushButton *Button1 = nullptr;           // OK
    QPushButton *Button2 = nullptr;           // Cancel
};

} // namespace ralvo
