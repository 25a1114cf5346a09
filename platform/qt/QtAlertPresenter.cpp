#include "platform/qt/QtAlertPresenter.h"

#include "platform/qt/QtStrings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTextDocument>
#include <QThread>

namespace bw {

namespace {

void fill(QMessageBox& box, QMessageBox::Icon icon, const std::string& title, const std::string& text)
{
    box.setIcon(icon);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QtAlertPresenter::readableText(title));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(QtAlertPresenter::informativeHtml(QtAlertPresenter::readableText(text)));
}

} // namespace

QString QtAlertPresenter::readableText(const std::string& text)
{
    // In the user's language, each label followed by a space.
    QStringList lines = qt::QtStrings::shown(text).split(QLatin1Char('\n'));
    static const QRegularExpression figure(QStringLiteral("(\\d) (?=\\p{L})"));
    for (QString& line : lines)
        if (!line.contains(QStringLiteral(": /"))) // a path's own spaces stay
            line.replace(figure, QStringLiteral("\\1") + QChar(0x00a0));
    return lines.join(QLatin1Char('\n'));
}

QString QtAlertPresenter::informativeHtml(const QString& text)
{
    // Escaped, so that a path with "<" or "&" is shown as it stands; its spaces kept.
    // A figure with its unit is one unbreakable piece: the line breaker would otherwise
    // part "4.3" at its point.
    static const QRegularExpression figure(
        QStringLiteral("\\d+[.,]\\d+(?:\\x{00a0}\\S+)?|\\d+\\x{00a0}\\S+"));
    QString html = QStringLiteral("<p style=\"white-space:pre-wrap\">");
    qsizetype from = 0;
    for (auto it = figure.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        html += text.mid(from, m.capturedStart() - from).toHtmlEscaped() +
                QStringLiteral("<span style=\"white-space:nowrap\">") + m.captured().toHtmlEscaped() +
                QStringLiteral("</span>");
        from = m.capturedEnd();
    }
    html += text.mid(from).toHtmlEscaped() + QStringLiteral("</p>");
    return html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

void QtAlertPresenter::runBox(QMessageBox& box)
{
    if (open_++ == 0 && openChanged_)
        openChanged_(true);
    // Wide enough for a sentence on a line: a narrow box breaks its text into a column.
    if (auto* informative = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setMinimumWidth(informative->fontMetrics().averageCharWidth() * 48);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    if (--open_ == 0 && openChanged_)
        openChanged_(false);
}

QtAlertPresenter::QtAlertPresenter(Log& log, QObject* parent) : QObject(parent), log_(log)
{
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QtAlertPresenter::releaseAll);
}

void QtAlertPresenter::runModal(const AlertContent& alert)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!qobject_cast<QApplication*>(app)) {
        log_.line(alert.title + ": " + alert.text);
        return;
    }
    if (QThread::currentThread() == app->thread()) {
        show(alert);
        return;
    }
    auto pending = std::make_shared<Pending>();
    {
        std::lock_guard lock(mutex_);
        if (quitting_)
            return;
        pending_.push_back(pending);
    }
    QMetaObject::invokeMethod(
        this,
        [this, alert, pending] {
            show(alert);
            std::lock_guard lock(mutex_);
            pending->done = true;
            finished_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return pending->done; });
    pending_.remove(pending);
}

void QtAlertPresenter::show(const AlertContent& alert)
{
    QMessageBox box;
    fill(box, QMessageBox::Warning, alert.title, alert.text);
    box.addButton(qt::QtStrings::shown(alert.button), QMessageBox::AcceptRole)
        ->setAccessibleName(qt::QtStrings::shown(alert.button));
    runBox(box);
}

ConfirmAnswer QtAlertPresenter::confirm(const ConfirmContent& question)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {};
    QMessageBox box;
    fill(box, QMessageBox::Question, question.title, question.text);
    QPushButton* accept = box.addButton(qt::QtStrings::shown(question.acceptButton), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    cancel->setText(tr("Cancel"));
    // Enter does not shred: going ahead takes a deliberate click.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    auto* suppress = new QCheckBox(qt::QtStrings::shown(question.suppressionText));
    suppress->setAccessibleName(suppress->text());
    accept->setAccessibleName(accept->text());
    cancel->setAccessibleName(cancel->text());
    box.setCheckBox(suppress);
    runBox(box);
    return {box.clickedButton() == accept, suppress->isChecked()};
}

void QtAlertPresenter::releaseAll()
{
    std::lock_guard lock(mutex_);
    quitting_ = true;
    for (auto& pending : pending_)
        pending->done = true;
    finished_.notify_all();
}

} // namespace bw
