// The main of the widget-test programs, as QtTest's own would be for one class.
#include <QApplication>

#include "testclasses.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    return velloran::testing::runTestClasses(argc, argv);
}
