#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ralvo {

class TImage;

// The About box: a picture, the version and the platform line, and OK.
class TVerForm final : public QDialog
{
    Q_OBJECT

public:
    explicit TVerForm(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();

    TImage *Image1 = nullptr;       // the application's picture
    QLabel *Label1 = nullptr;       // "Version 2.0"
    QLabel *Label3 = nullptr;       // the platform line of the original release
    QLabel *Label4 = nullptr;       // what this build runs on (Linux, the Qt version)
    QPushButton *Button1 = nullptr; // OK, the default button
};

} // namespace ralvo
