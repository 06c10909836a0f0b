#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The Qt Test classes of this program; main runs the one named on the
// command line, or all of them.
struct RegisteredTest {
    std::string name;
    std::function<std::unique_ptr<QObject>()> make;
};
std::vector<RegisteredTest>& RegisteredTests();

struct TestRegistrar {
    TestRegistrar(const char* name, std::function<std::unique_ptr<QObject>()> make) {
        RegisteredTests().push_back({name, std::move(make)});
    }
};

#define BALKOR_REGISTER_TEST(Class)                                                                \
    static TestRegistrar registrar##Class(#Class, [] { return std::make_unique<Class>(); })
