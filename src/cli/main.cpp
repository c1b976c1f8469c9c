#include "cli/app.h"
#include "settings/filelocations.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The console's name and version, and so its user folders.
    korvane::settings::nameApplication();
    return korvane::cli::run(QCoreApplication::arguments());
}
