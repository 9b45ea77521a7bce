// らるぼPro: computes the expected date of delivery and prints a week-by-week
// pregnancy schedule.

#include "app/ui/Application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApplication(argc, argv);
    ralvo::Application application;
    return application.Run();
}
