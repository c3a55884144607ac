// The folder picker TfrPath: one for the whole run, its caption set by the
// caller before each use. It asks for the folder through the prompt service's
// folder dialog and remembers the folder chosen, where the next use starts.
// The result has no trailing separator, except the root folder "/".
#pragma once

#include <QString>

class TfrPath {
public:
    TfrPath();

    void setCaption(const QString& caption) { m_caption = caption; }
    QString caption() const { return m_caption; }

    // Clears the result and asks for a folder; true on "O.K", with the
    // result set. Cancelling leaves the result empty.
    bool ShowModal();
    QString result() const { return m_result; }
    QString folder() const { return m_folder; }
    void setFolder(const QString& folder) { m_folder = folder; }

private:
    QString m_caption;
    QString m_folder;
    QString m_result;
};
