#include "testclasses.h"

#include <QTest>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace velloran::testing {

namespace {

std::map<std::string, std::function<std::unique_ptr<QObject>()>>& classes()
{
    static std::map<std::string, std::function<std::unique_ptr<QObject>()>> registered;
    return registered;
}

}  // namespace

bool registerTestClass(const char* name, std::function<std::unique_ptr<QObject>()> make)
{
    return classes().emplace(name, std::move(make)).second;
}

int runTestClasses(int argc, char* argv[])
{
    const bool named = argc > 1 && classes().count(argv[1]) > 0;
    std::vector<char*> rest {argv[0]};
    for (int i = named ? 2 : 1; i < argc; ++i)
        rest.push_back(argv[i]);
    int failed = 0;
    for (const auto& [name, make] : classes()) {
        if (named && name != argv[1])
            continue;
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), static_cast<int>(rest.size()), rest.data()) != 0;
    }
    return failed;
}

}  // namespace velloran::testing
