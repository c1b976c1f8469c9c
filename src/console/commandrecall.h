#pragma once

#include "settings/commandhistory.h"

#include <QObject>
#include <QString>

class QLineEdit;

namespace korvane::console {

// The history of a one-line command field: Up and Down recall the commands sent from it, newest first,
// as in a shell, and Down past the newest brings back what was being typed.
class CommandRecall final : public QObject {
    Q_OBJECT

public:
    CommandRecall(QLineEdit *field, const QString &historyFile, QObject *parent);
    ~CommandRecall() override;

    // Each returns empty, or a sentence for the user when the history file cannot be read or written.
    QString load();
    // The field's text was sent.
    QString sent();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(qsizetype by);

    QLineEdit *m_field;
    settings::CommandHistory m_history;
    qsizetype m_position = 0; // the line shown; lines().size() while none is
    QString m_typed;
};

} // namespace korvane::console
