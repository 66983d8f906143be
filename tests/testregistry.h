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

} // namespace testregistry

#define LUMISK_TEST(Class) \
    static testregistry::Registrar lumiskRegistrar_##Class(#Class, []() -> QObject * { return new Class; });
