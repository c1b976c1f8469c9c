#include "settings/languagechooser.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

namespace korvane {

LanguageChooser::LanguageChooser(MainWindow &main)
    : SecondaryWindow(main)
{
    setObjectName(QStringLiteral("Lang"));
}

LanguageChooser::~LanguageChooser() = default;

void LanguageChooser::applyCaptions() {}

void LanguageChooser::start() {}
bool LanguageChooser::rememberTicked() const { return false; }

} // namespace korvane
