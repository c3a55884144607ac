// The comment file beside each picture: its title, shooting date and free
// comment, kept as ten Shift-JIS lines in a file named like the picture with
// the extension ".tav".
#pragma once

#include <QString>

// A picture's record. Year, month and day are decimal digits as text; the
// comment may span several lines joined by CR LF.
struct COMKATA {
    QString title;
    QString year;
    QString month;
    QString day;
    QString comment;
};

// The picture's path with everything from its last "." replaced by ".tav",
// or with ".tav" appended when its file name has no "."; empty when the part
// before the dot is empty.
QString CommentFileName(const QString& picturePath);

// Fills `record` from the picture's comment file. The title keeps its value
// when the file does not set it; the comment starts empty; a missing or
// undated file gives the shooting date the picture records (EXIF, while
// ExifShootingDateOn), else its modification date (year "yyyy", month "mm",
// day "dd"). 0, or 1 when the file exists but cannot be read (the
// record then holds the defaults: empty comment, date "0").
int ReadComment(const QString& picturePath, COMKATA& record);

// Writes the record as the picture's comment file. The file is replaced as a
// whole: until the new content is complete the old file stays as it was.
// 0, or 1 when the file could not be written.
int WriteComment(const QString& picturePath, const COMKATA& record);
