#include "console/commandrecall.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace korvane::console {

CommandRecall::CommandRecall(QLineEdit *field, const QString &historyFile, QObject *parent)
    : QObject(parent)
    , m_field(field)
    , m_history(historyFile)
{
    m_field->installEventFilter(this);
}

CommandRecall::~CommandRecall() = default;

QString CommandRecall::load()
{
    const QString failure = m_history.load();
    m_position = m_history.lines().size();
    return failure;
}

QString CommandRecall::sent()
{
    const QString failure = m_history.add(m_field->text());
    m_position = m_history.lines().size();
    return failure;
}

bool CommandRecall::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CommandRecall::step(qsizetype by)
{
    const QStringList &lines = m_history.lines();
    const qsizetype end = lines.size();
    if (m_position == end) {
        if (by > 0)
            return;
        m_typed = m_field->text();
        // The field keeps a command after it is sent: the first Up shows the one before it.
        if (end > 1 && lines.constLast() == m_typed)
            --m_position;
    }
    m_position = std::clamp(m_position + by, qsizetype(0), end);
    m_field->setText(m_position == end ? m_typed : lines.at(m_position));
}

} // namespace korvane::console
