#include "platform/qt/QtStrings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace bw::qt {

QtStrings::QtStrings(QCoreApplication& app) : app_(app)
{
    if (english_.load(QStringLiteral(":/i18n/brindlewick_en.qm")))
        app_.installTranslator(&english_);
    // Installed last, so it is asked first.
    if (local_.load(QLocale(), QStringLiteral("brindlewick"), QStringLiteral("_"), QStringLiteral(":/i18n")) &&
        local_.filePath() != english_.filePath())
        app_.installTranslator(&local_);
}

QtStrings::~QtStrings()
{
    app_.removeTranslator(&local_);
    app_.removeTranslator(&english_);
}

QString QtStrings::localFigure(const QString& figure)
{
    const qsizetype point = figure.indexOf(QLatin1Char('.'));
    bool ok = false;
    const double value = figure.toDouble(&ok);
    if (!ok)
        return figure;
    // Without thousands separators: the figures stand in columns of a fixed width.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', point < 0 ? 0 : static_cast<int>(figure.size() - point - 1));
}

QString QtStrings::localFigures(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("\\d+\\.\\d+"));
    QString out;
    qsizetype from = 0;
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from) + localFigure(m.captured());
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

QString QtStrings::shownLine(const QString& line)
{
    // A label opens the line: "Error:", "File:". What follows a path label stays as it is.
    static const QRegularExpression label(QStringLiteral("^(\\p{L}[\\p{L} ]{0,20}):\\s?(.*)$"));
    if (const QRegularExpressionMatch m = label.match(line); m.hasMatch()) {
        const QString name = QCoreApplication::translate(kContext, m.captured(1).toUtf8().constData());
        const QString rest = m.captured(2);
        if (rest.isEmpty())
            return name + QLatin1Char(':');
        // A path is shown exactly as it is named.
        return name + QStringLiteral(": ") + (rest.startsWith(QLatin1Char('/')) ? rest : shownLine(rest));
    }
    // A figure is a number, with the unit that follows it.
    static const QRegularExpression figure(
        QStringLiteral("(\\d+(?:\\.\\d+)?)(?:[ \\x{00a0}](bytes|KB|MB|GB|TB|PB)\\b)?"));
    QString pattern;
    QStringList figures;
    qsizetype from = 0;
    for (auto it = figure.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // Inside a word or a path ("a1", "/tmp/2026"), digits are no figure.
        if (m.capturedStart() > 0 && (line[m.capturedStart() - 1].isLetterOrNumber() ||
                                      line[m.capturedStart() - 1] == QLatin1Char('/')))
            continue;
        pattern += line.mid(from, m.capturedStart() - from) + QLatin1Char('%') + QString::number(figures.size() + 1);
        QString shownFigure = localFigure(m.captured(1));
        if (!m.captured(2).isEmpty())
            shownFigure += QChar(0x00a0) + m.captured(2);
        figures.append(shownFigure);
        from = m.capturedEnd();
    }
    pattern += line.mid(from);
    QString text = QCoreApplication::translate(kContext, pattern.toUtf8().constData());
    // From the highest number down, so that %1 does not eat the start of %10.
    for (qsizetype i = figures.size(); i >= 1; --i)
        text.replace(QLatin1Char('%') + QString::number(i), figures[i - 1]);
    return text;
}

QString QtStrings::shown(const std::string& text)
{
    const QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
    QStringList out;
    for (const QString& line : lines)
        out.append(line.isEmpty() ? line : shownLine(line));
    return out.join(QLatin1Char('\n'));
}

std::string QtStrings::localized(const std::string& key)
{
    // Safe from any thread: QCoreApplication::translate takes its own lock.
    return QCoreApplication::translate(kContext, key.c_str()).toStdString();
}

std::string QtStrings::localFigure(const std::string& figure)
{
    return localFigures(QString::fromStdString(figure)).toStdString();
}

std::string QtStrings::localDate(TimePoint date, bool withTime)
{
    // As the tray menu and the chooser write theirs.
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(date.time_since_epoch()).count());
    return (withTime ? QLocale().toString(at, QLocale::ShortFormat) : QLocale().toString(at.date(), QLocale::ShortFormat))
        .toStdString();
}

} // namespace bw::qt
