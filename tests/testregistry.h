#pragma once
// Every test class of a folder registers itself here; testmain.cpp runs them
// one after the other in one QApplication, so a folder is one test program.

#include <QObject>
#include <functional>
#include <utility>
#include <vector>

namespace testregistry {

using Factory = std::function<QObject *()>;

std::vector<std::pair<const char *, Factory>> &entries();

struct Registrar {
    Registrar(const char *name, Factory factory) { entries().emplace_back(name, std::move(factory)); }
};

// A program a test starts as a child of its own (the same test binary with
// LUMISK_TEST_CHILD=name): it runs this instead of the tests and exits with
// what it returns. For example a window that downloads until it is killed.
using Child = std::function<int()>;

std::vector<std::pair<const char *, Child>> &children();

struct ChildRegistrar {
    ChildRegistrar(const char *name, Child child) { children().emplace_back(name, std::move(child)); }
};

} // namespace testregistry

#define LUMISK_TEST_CHILD(name, function) \
    static testregistry::ChildRegistrar lumiskChild_##name(#name, function);

#define LUMISK_TEST(Class) \
    static testregistry::Registrar lumiskRegistrar_##Class(#Class, []() -> QObject * { return new Class; });
