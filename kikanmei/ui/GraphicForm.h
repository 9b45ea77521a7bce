#pragma once

#include "kikanmei/FrameDialogValues.h"
#include "platform/Platform.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ralvo {

// "ｸﾞﾗﾌｨｯｸ枠の設定": the picture file of a picture frame and whether its
// aspect ratio is kept. The file is neither opened nor checked here.
class TGraphicForm : public QDialog
{
    Q_OBJECT

public:
    explicit TGraphicForm(const platform::Services &services, QWidget *parent = nullptr);

    void SetValues(const GraphicValues &values);
    GraphicValues Values() const;

    // The picture file dialog's request ("参照"), starting in the folder it
    // was last left in.
    platform::FileDialogs::Request PictureRequest() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();

    QLabel *Label1 = nullptr;       // "ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名"
    QLineEdit *Edit1 = nullptr;     // the picture file's full path
    QPushButton *Button1 = nullptr; // "参照": the picture file dialog
    QCheckBox *CheckBox1 = nullptr; // keep the aspect ratio (kind "F", else "V")
    QPushButton *Button2 = nullptr; // OK
    QPushButton *Button3 = nullptr; // Cancel

    platform::Services m_services;
    QString m_lastFolder; // where the file dialog was last left
};

} // namespace ralvo
