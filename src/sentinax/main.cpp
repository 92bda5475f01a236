// sentinax: the service companies' remote monitor.
#include <QApplication>

#include "core/zvsock.h"
#include "platform/program.h"
#include "sentinax/views/program.h"

int main(int argc, char** argv) {
    platform::SetProgramName("sentinax");
    LoadNetConfig();
    QApplication application(argc, argv);
    return RunSentinax();
}
