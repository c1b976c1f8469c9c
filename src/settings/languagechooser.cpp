#include "settings/languagechooser.h"

#include "console/formbuilder.h"
#include "console/mainwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace korvane {

namespace {

using form::Kind;

constexpr form::Control Layout[] = {
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

} // namespace

LanguageChooser::LanguageChooser(MainWindow &main)
    : SecondaryWindow(main)
{
    form::setUpWindow(this, "Lang", "Select Language", 5940, 3075);
    form::build(this, Layout);
    form::child<QLabel>(this, "Label1")->setWordWrap(true);
    m_remember = form::child<QCheckBox>(this, "Remember");
    for (const Language &language : Languages)
        connect(form::child<QRadioButton>(this, language.option), &QRadioButton::clicked, this,
                [this] { m_picked = 1; });
    connect(form::child<QPushButton>(this, "Load"), &QPushButton::clicked, this, &LanguageChooser::load);
}

LanguageChooser::~LanguageChooser() = default;

void LanguageChooser::start()
{
    m_picked = 0;
    if (mainWindow().environment().folder.setting(QStringLiteral("Checked")) == u"True") {
        // A remembered choice: the chooser would be hidden again before it could ever be drawn, so it
        // is not shown at all. The main window's first showing takes over and closes this window.
        m_handedOver = true;
        mainWindow().showAndRaise();
        return;
    }
    showAndRaise();
}

bool LanguageChooser::rememberTicked() const
{
    return m_remember->isChecked();
}

void LanguageChooser::load()
{
    MainWindow &main = mainWindow();
    if (m_picked != 1) {
        main.environment().message(this, QStringLiteral("Please select a language"));
        return;
    }
    for (const Language &language : Languages) {
        if (form::child<QRadioButton>(this, language.option)->isChecked()) {
            main.environment().folder.writeSetting(QStringLiteral("Default"), form::text(language.name));
            break;
        }
    }
    m_handedOver = true;
    // Reads the language just stored, applies it and closes this window, unless the main window was
    // already up.
    main.showAndRaise();
    if (isVisible())
        close();
}

void LanguageChooser::closeEvent(QCloseEvent *event)
{
    SecondaryWindow::closeEvent(event);
    // This window belongs to the main window, so closing it is not the last window closing as far
    // as Qt is concerned: closed before any language was loaded, it ends the program itself.
    if (!m_handedOver)
        QCoreApplication::quit();
}

} // namespace korvane
