// brevio-server: serves a schedule server's tree from a folder on the loopback interface.
#include "tools/command_line.h"
#include "tools/static_server.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kUsage = "usage: brevio-server --root DIR [--port N] [--port-file FILE]\n"
                               "Serves DIR read-only on http://127.0.0.1:N/ (N 0 or absent: a free port)\n"
                               "until SIGINT or SIGTERM. --port-file receives the port once it listens.\n";

// Written whole under a temporary name and renamed, so that a script polling for the file
// never reads half a number.
void writePortFile(const std::filesystem::path& file, int port)
{
    const auto temporary = std::filesystem::path(file).concat(".tmp");
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << port << "\n";
        if (!out.flush())
            throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, file);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace brevio::tools;
    try {
        const CommandLine args(argc, argv, {"--root", "--port", "--port-file"});
        if (args.helpWanted()) {
            std::cout << kUsage;
            return 0;
        }
        const auto root = args.value("--root");
        if (!root || root->empty())
            throw std::invalid_argument("--root DIR is required");
        const int wantedPort = args.number("--port", 0, 65535, 0);
        const auto portFile = args.value("--port-file");

        // The signals are taken by sigwait below; blocking them before any thread starts
        // keeps httplib's workers from being interrupted by them.
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

        StaticServer server(*root);
        server.setLog([](const std::string& line) { std::cout << line << std::endl; });
        const int port = server.bind(wantedPort);
        if (portFile)
            writePortFile(*portFile, port);
        std::cout << "listening on http://127.0.0.1:" << port << "/" << std::endl;

        bool served = true;
        std::thread serving([&] {
            served = server.run();
            if (!served)
                kill(getpid(), SIGTERM); // wakes the sigwait below
        });
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
        serving.join();

        if (portFile) {
            std::error_code ignored;
            std::filesystem::remove(*portFile, ignored);
        }
        std::cout << "stopped" << std::endl;
        return served ? 0 : 1;
    } catch (const std::invalid_argument& e) {
        std::cerr << "brevio-server: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "brevio-server: " << e.what() << "\n";
        return 1;
    }
}
