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

    TImage *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *Button1 = nullptr;
};

} // namespace ralvo
