#pragma once

// The widget-test programs hold the test classes of several files. Each file registers its class;
// the program runs the class named first on its command line (every class when none is named),
// with the rest of the line going to QtTest.
#include <QObject>

#include <functional>
#include <memory>

namespace velloran::testing {

bool registerTestClass(const char* name, std::function<std::unique_ptr<QObject>()> make);
// Runs the classes as the command line says; what main returns.
int runTestClasses(int argc, char* argv[]);

}  // namespace velloran::testing

#define VELLORAN_TEST_CLASS(Class)                                                                  \
    static const bool registered##Class = velloran::testing::registerTestClass(#Class, [] {         \
        return std::unique_ptr<QObject>(new Class);                                                 \
    })
