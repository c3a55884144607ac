// A printer as the page engine drives it: its device capabilities, and one
// print document at a time whose pages are drawn through a painter. The
// painter's origin is the printable area's top left corner and one unit is
// one printer dot, as on a Windows printer device context.
#pragma once

#include "platform/PrinterCaps.h"

#include <QString>

class QPainter;

namespace platform {

class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    virtual DeviceCaps caps() const = 0;
    // Turns the paper upright (the long side down) for the documents to come.
    virtual void setPortrait() = 0;

    // Starts a document shown as `title` in the spooler, with its first page
    // open. False when the printer or the output file cannot be opened.
    virtual bool beginDocument(const QString& title) = 0;
    // The open page; null outside a document.
    virtual QPainter* painter() = 0;
    // Ends the open page and starts the next.
    virtual bool newPage() = 0;
    // The number of the open page, from 1.
    virtual int pageNumber() const = 0;
    // Ends the last page and hands the document to the spooler.
    virtual bool endDocument() = 0;
    // Drops the document: nothing of it is printed.
    virtual void abortDocument() = 0;

    // The documents begun until endRun belong to one run of a command. On a
    // printer each goes to the spooler on its own; into a file they make one
    // file, their pages in order, written when the run ends (no file when no
    // document of the run ended normally). endRun is false when that file
    // could not be written.
    virtual void beginRun() = 0;
    virtual bool endRun() = 0;
};

}  // namespace platform
