// basinsetup: the pool configuration program.
#include <QApplication>
#include <string>
#include <vector>

#include "basinsetup/views/program.h"
#include "core/zvsock.h"
#include "platform/program.h"

int main(int argc, char** argv) {
    platform::SetProgramName("basinsetup");
    LoadNetConfig();
    QApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return RunBasinSetup(arguments);
}
