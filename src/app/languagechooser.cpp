#include "app/languagechooser.h"

#include "ui/environment.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace korvane::app {

namespace {

using ui::Kind;

constexpr ui::Control Layout[] = {
    {Kind::Picture, "Picture1", nullptr, 120, 120, 1815, 1815, ":/korvane/emblem.png"},
    {Kind::Heading, "Label2", nullptr, 2160, 120, 3600, 375, "Language Selection"},
    {Kind::Label, "Label1", nullptr, 2160, 600, 3600, 480,
     "Please select a language, and press the load language button"},
    {Kind::Option, "Option1", nullptr, 2160, 1200, 1695, 285, "English"},
    {Kind::Option, "Option2", nullptr, 3990, 1200, 1695, 285, "Francais"},
    {Kind::Option, "Option3", nullptr, 2160, 1560, 1695, 285, "Deutsch"},
    {Kind::Option, "Option4", nullptr, 3990, 1560, 1695, 285, "Nederlands"},
    {Kind::CheckBox, "Remember", nullptr, 2160, 2040, 3600, 285, "Remember Settings"},
    {Kind::BoldButton, "Load", nullptr, 2160, 2460, 3600, 495, "Load Language"},
};

// Tried in this order; the first selected one is stored.
struct Language {
    const char *option;
    const char *name;
};
constexpr Language Languages[] = {
    {"Option1", "english"},
    {"Option2", "french"},
    {"Option3", "german"},
    {"Option4", "dutch"},
};

constexpr ui::WindowDesign Design{.name = "Lang",
                                  .title = "Select Language",
                                  .width = 5940,
                                  .height = 3075,
                                  .layout = Layout,
                                  .closedByDisconnect = true};

} // namespace

LanguageChooser::LanguageChooser(const ui::Context &context, QWidget *owner)
    : Window(context, owner)
{
    setUp(Design);
    control<QLabel>("Label1")->setWordWrap(true);
    for (const Language &language : Languages)
        connect(control<QRadioButton>(language.option), &QRadioButton::clicked, this, [this] { m_picked = true; });
    onClick("Load", &LanguageChooser::load);
}

LanguageChooser::~LanguageChooser() = default;

void LanguageChooser::load()
{
    if (!m_picked) {
        environment().message(this, QStringLiteral("Please select a language"));
        return;
    }
    for (const Language &language : Languages) {
        if (control<QRadioButton>(language.option)->isChecked()) {
            Q_EMIT languageChosen(ui::text(language.name), control<QCheckBox>("Remember")->isChecked());
            return;
        }
    }
}

} // namespace korvane::app
