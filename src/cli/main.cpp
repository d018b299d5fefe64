// halvika-cli: alarm group files and date expressions from the command line, and commands for the running
// Halvika.
#include "CliCommands.h"

#ifdef HALVIKA_CLI_DBUS
#include "DBusRemoteClient.h"

#include <QCoreApplication>
#endif

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef HALVIKA_CLI_DBUS
    QCoreApplication application(argc, argv);
    halvika::DBusRemoteClient remote;
    return halvika::CliCommands::run(args, std::cout, std::cerr, &remote);
#else
    return halvika::CliCommands::run(args, std::cout, std::cerr);
#endif
}
