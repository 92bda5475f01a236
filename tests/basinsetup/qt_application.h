#pragma once
// The one QApplication of the test program, made on first use.
#include <QApplication>

namespace bstest {

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "basinsetup_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

}  // namespace bstest
