// The yardstick for the command-line tool's text output: a trivial
// QCoreApplication program that writes one line and ends.

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    std::fputs("2024年10月7日\n", stdout);
    return 0;
}
