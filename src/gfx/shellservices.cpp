#include "gfx/shellservices.h"

namespace {

CShellServices g_defaults;
CShellServices* g_installed = nullptr;

}  // namespace

CShellServices& Shell() {
    return g_installed ? *g_installed : g_defaults;
}

CShellServices* InstallShellServices(CShellServices* services) {
    CShellServices* previous = g_installed;
    g_installed = services;
    return previous;
}
