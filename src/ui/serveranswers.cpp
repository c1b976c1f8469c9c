#include "ui/serveranswers.h"

#include "rcon/serverlink.h"
#include "rcon/textcodec.h"
#include "ui/answerfield.h"

#include <QWidget>

namespace korvane::ui {

ServerAnswers::ServerAnswers(QWidget *window, rcon::ServerLink &link, QPlainTextEdit *field,
                             const QString &endpointName, Cleaning cleaning)
    : QObject(window)
    , m_link(link)
    , m_field(new AnswerField(field))
    , m_endpoint(new rcon::Endpoint(endpointName, window))
    , m_cleaning(cleaning)
{
    // The pieces of a long answer are joined as they come, so the field reads as one text.
    connect(m_endpoint, &rcon::Endpoint::datagramReceived, this,
            [this](const QByteArray &datagram) { m_field->appendAnswer(m_cleaning(rcon::fromWire(datagram))); });
    m_link.open(*m_endpoint);
}

ServerAnswers::~ServerAnswers() = default;

void ServerAnswers::ask(QStringView command)
{
    m_field->clear();
    m_link.send(*m_endpoint, command);
}

void ServerAnswers::send(QStringView literal, QStringView parameter)
{
    m_link.send(*m_endpoint, literal, parameter);
}

QString ServerAnswers::text()
{
    return m_field->text();
}

} // namespace korvane::ui
