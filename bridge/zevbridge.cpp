// zevbridge: serves the D2XX driver calls of our bridge FTD2XX.DLL (a Windows program under Wine)
// from the kernel's FTDI serial ports, or from the simulated devices.
//
//   ZEV_BRIDGE_TOKEN=<hex, at least 32 digits> zevbridge [--port N] [--sim FILE] [--sysfs DIR] [--dev DIR]
//
// Prints "zevbridge: listening on 127.0.0.1:PORT" once it accepts connections; logs to standard
// error; ends on SIGINT or SIGTERM. The token is read from the environment only: a command line
// is visible to every user of the machine.
#include "bridge/protocol.h"
#include "bridge/server.h"
#include "bridge/sim_backend.h"
#include "bridge/tty_backend.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

namespace {

bridge::Server* g_server = nullptr;

void OnSignal(int) {
    if (g_server)
        g_server->Stop();
}

void LogLine(const std::string& text) {
    static std::mutex lock;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local); // connection threads log at once
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    std::lock_guard<std::mutex> guard(lock);
    std::fprintf(stderr, "zevbridge: %s %s\n", stamp, text.c_str());
    std::fflush(stderr);
}

int Usage(const char* why) {
    std::fprintf(stderr,
                 "zevbridge: %s\nusage: ZEV_BRIDGE_TOKEN=<hex> zevbridge [--port N] [--sim FILE] [--sysfs DIR] "
                 "[--dev DIR]\n",
                 why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    bridge::ServerOptions options;
    bridge::TtyOptions tty;
    std::string sim;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return Usage(("missing value or unknown option " + arg).c_str());
        const char* value = argv[++i];
        if (arg == "--port") {
            char* end = nullptr;
            const long port = std::strtol(value, &end, 10);
            if (*end || port < 0 || port > 65535)
                return Usage("--port takes a number from 0 to 65535");
            options.port = static_cast<std::uint16_t>(port);
        } else if (arg == "--sim") {
            sim = value;
        } else if (arg == "--sysfs") {
            tty.sysfs = value;
        } else if (arg == "--dev") {
            tty.dev = value;
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }
    const char* hex = std::getenv("ZEV_BRIDGE_TOKEN");
    const auto token = bridge::ParseToken(hex ? hex : "");
    if (!token)
        return Usage("ZEV_BRIDGE_TOKEN must hold at least 128 bits as hex (32 to 128 hex digits)");
    options.token = *token;

    std::unique_ptr<bridge::Backend> backend;
    if (!sim.empty())
        backend = std::make_unique<bridge::SimBackend>(sim, LogLine);
    else
        backend = std::make_unique<bridge::TtyBackend>(tty, LogLine);
    bridge::Server server(*backend, options, LogLine);
    std::string why;
    if (!server.Listen(&why)) {
        LogLine("cannot listen on 127.0.0.1:" + std::to_string(options.port) + ": " + why);
        return 1;
    }
    g_server = &server;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    LogLine(sim.empty() ? "serving the FTDI serial ports of " + tty.sysfs.string() + " and " + tty.dev.string()
                        : "serving the simulated devices of " + sim);
    std::printf("zevbridge: listening on 127.0.0.1:%u\n", server.Port());
    std::fflush(stdout);
    server.Run();
    LogLine("stopped");
    g_server = nullptr;
    return 0;
}
