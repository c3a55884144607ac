// Reading and writing the comment file of a picture.
#include "tav/catalog/CommentFile.h"

#include "imgkit/ImgKit.h"
#include "platform/AtomicFile.h"
#include "platform/Sjis.h"
#include "tav/core/TextHelpers.h"
#include "tav/imaging/PictureOptions.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTitleTag = QStringLiteral("[TI]");
const QString kYearTag = QStringLiteral("[NEN]");
const QString kMonthTag = QStringLiteral("[TUKI]");
const QString kDayTag = QStringLiteral("[HI]");
const QString kCommentTag = QStringLiteral("[COM]");

// The file's lines without their ends; a line ends at CR LF or at a bare LF
// (a file saved by another editor), and a final line end adds no empty line.
QStringList fileLines(const QByteArray& bytes)
{
    QStringList lines = platform::fromSjis(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

// Takes the tagged values; the last occurrence of a tag wins, and "[COM]"
// swallows every later line into the comment.
void parseLines(const QStringList& lines, COMKATA& record)
{
    const auto valueAfter = [&lines](qsizetype i) { return i + 1 < lines.size() ? lines[i + 1] : QString(); };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        QString* field = nullptr;
        if (line == kTitleTag)
            field = &record.title;
        else if (line == kYearTag)
            field = &record.year;
        else if (line == kMonthTag)
            field = &record.month;
        else if (line == kDayTag)
            field = &record.day;
        if (field) {
            *field = valueAfter(i++);
            continue;
        }
        if (line == kCommentTag) {
            record.comment = valueAfter(i);
            for (i += 2; i < lines.size(); ++i)
                record.comment += kCrLf + lines[i];
            return;
        }
    }
}

// Plain decimal text for a readable date; for a missing or unreadable one
// the shooting date the picture records (when that switch is on), else its
// modification date, so copied photographs keep the day they were taken.
void settleDate(const QString& picturePath, COMKATA& record)
{
    bool yearOk = false, monthOk = false, dayOk = false;
    const int year = record.year.toInt(&yearOk);
    const int month = record.month.toInt(&monthOk);
    const int day = record.day.toInt(&dayOk);
    if (yearOk && monthOk && dayOk && year != 0) {
        record.year = QString::number(year);
        record.month = QString::number(month);
        record.day = QString::number(day);
        return;
    }
    record.year = record.month = record.day = QStringLiteral("0");
    const QDateTime shot = ExifShootingDateOn() ? ImgKitFileShotDate(picturePath) : QDateTime();
    const QDateTime modified = shot.isValid() ? shot : QFileInfo(picturePath).lastModified();
    if (!modified.isValid())
        return;
    record.year = FormatDateTimeAnyYear(QStringLiteral("yyyy"), modified);
    record.month = FormatDateTimeAnyYear(QStringLiteral("mm"), modified);
    record.day = FormatDateTimeAnyYear(QStringLiteral("dd"), modified);
}

// A one-line field must not break the file's line structure.
QString oneLine(QString text)
{
    text.replace(kCrLf, QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The comment's line breaks, whatever their kind, as CR LF.
QString crLfLines(QString text)
{
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    return text;
}

}  // namespace

QString CommentFileName(const QString& picturePath)
{
    const SplitPath parts = SplitExtension(picturePath);
    // A dot in a folder name is no extension of the picture: splitting there
    // would give every dot-less picture of that folder one shared comment
    // file, outside the folder, possibly another picture's.
    if (parts.extension.contains(QLatin1Char('/')))
        return picturePath + QStringLiteral(".tav");
    if (parts.stem.isEmpty())
        return {};
    return parts.stem + QStringLiteral(".tav");
}

int ReadComment(const QString& picturePath, COMKATA& record)
{
    record.comment.clear();
    record.year = record.month = record.day = QStringLiteral("0");
    if (picturePath.isEmpty())
        return 0;

    const QString name = CommentFileName(picturePath);
    if (!name.isEmpty() && QFileInfo::exists(name)) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        // A read error keeps whatever was read before it.
        parseLines(fileLines(file.readAll()), record);
    }
    settleDate(picturePath, record);
    return 0;
}

int WriteComment(const QString& picturePath, const COMKATA& record)
{
    const QString name = CommentFileName(picturePath);
    if (name.isEmpty())
        return 1;
    const QStringList lines = {kTitleTag,   oneLine(record.title),    kYearTag, oneLine(record.year),
                               kMonthTag,   oneLine(record.month),    kDayTag,  oneLine(record.day),
                               kCommentTag, crLfLines(record.comment)};
    const QByteArray bytes = platform::toSjis(lines.join(kCrLf) + kCrLf);
    return platform::replaceFileAtomically(name, bytes) ? 0 : 1;
}
