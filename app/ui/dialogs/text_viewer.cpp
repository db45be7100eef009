#include "app/ui/dialogs/text_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

#include "app/model/run_status.h"

namespace app::ui {

TTextViewer::TTextViewer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TextViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(900, 640);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("ViewerText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("ViewerFind"));
    m_find->setPlaceholderText(tr("Find"));
    auto* findLabel = new QLabel(tr("&Find:"), this);
    findLabel->setBuddy(m_find);
    auto* next = new QPushButton(tr("&Next"), this);
    auto* previous = new QPushButton(tr("&Previous"), this);
    auto* warning = new QPushButton(tr("First &Warning"), this);
    warning->setObjectName(QStringLiteral("ViewerFirstWarning"));
    auto* close = new QPushButton(tr("&Close"), this);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("ViewerState"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(findLabel);
    bar->addWidget(m_find, 1);
    bar->addWidget(next);
    bar->addWidget(previous);
    bar->addWidget(warning);
    bar->addWidget(m_state);
    bar->addStretch();
    bar->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_text, 1);

    connect(m_find, &QLineEdit::returnPressed, this, [this] { Find(m_find->text()); });
    connect(next, &QPushButton::clicked, this, [this] { Find(m_find->text()); });
    connect(previous, &QPushButton::clicked, this, [this] { Find(m_find->text(), true); });
    connect(warning, &QPushButton::clicked, this, [this] { GoToFirstWarning(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, [this] {
        m_find->setFocus();
        m_find->selectAll();
    });
    auto* again = new QShortcut(QKeySequence::FindNext, this);
    connect(again, &QShortcut::activated, this, [this] { Find(m_find->text()); });
}

bool TTextViewer::Load(const QString& path, QString* error) {
    QFile file(path);
    const QFileInfo info(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_text->clear();
        if (error != nullptr) {
            *error = tr("The file %1 in the folder %2 cannot be read: %3")
                         .arg(info.fileName(), info.absolutePath(), file.errorString());
        }
        return false;
    }
    // The engine writes plain ASCII; anything else is shown as Latin-1 rather than dropped.
    m_text->setPlainText(QString::fromLatin1(file.readAll()));
    setWindowTitle(tr("%1 - %2 (read-only)").arg(info.fileName(), info.absolutePath()));
    say(QString());
    return true;
}

bool TTextViewer::Find(const QString& text, bool backwards) {
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_text->find(text, flags)) {
        say(QString());
        return true;
    }
    // Round the end once, as editors do.
    QTextCursor cursor = m_text->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_text->setTextCursor(cursor);
    if (m_text->find(text, flags)) {
        say(tr("Search wrapped"));
        return true;
    }
    say(tr("\"%1\" not found").arg(text));
    return false;
}

bool TTextViewer::GoToFirstWarning() {
    for (QTextBlock block = m_text->document()->begin(); block.isValid(); block = block.next()) {
        if (!app::model::ClassifyReportLine(block.text().toStdString())) continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        m_text->setTextCursor(cursor);
        m_text->centerCursor();
        say(QString());
        return true;
    }
    say(tr("No warnings"));
    return false;
}

void TTextViewer::say(const QString& text) {
    m_state->setText(text);
}

}  // namespace app::ui
