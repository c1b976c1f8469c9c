#pragma once

#include <QObject>
#include <QString>

namespace korvane::rcon {
class Endpoint;
class ServerLink;
} // namespace korvane::rcon

class QPlainTextEdit;

namespace korvane::ui {

class AnswerField;

// A window's own endpoint and the answer field that shows what arrives on it: the player lists, the
// cheaters list and the config window. The endpoint points at the connected server from the start,
// and its answers never reach the console log.
class ServerAnswers final : public QObject {
    Q_OBJECT

public:
    // How an answer is cleaned before it is shown.
    using Cleaning = QString (*)(QStringView received);

    // Belongs to the window; opens the endpoint at once.
    ServerAnswers(QWidget *window, rcon::ServerLink &link, QPlainTextEdit *field, const QString &endpointName,
                  Cleaning cleaning);
    ~ServerAnswers() override;

    rcon::Endpoint *endpoint() const { return m_endpoint; }
    // Empties the field, so that it shows only what comes since, and sends the command.
    void ask(QStringView command);
    // Sends with the field's text left as it is.
    void send(QStringView literal, QStringView parameter);
    QString text();

private:
    rcon::ServerLink &m_link;
    AnswerField *m_field;
    rcon::Endpoint *m_endpoint;
    Cleaning m_cleaning;
};

} // namespace korvane::ui
