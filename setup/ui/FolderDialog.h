// TFolderDialog: the folder browser of the installer's main window.
#pragma once

#include <QFlags>
#include <QObject>
#include <QString>

enum class TFolderDlgOption {
    bifBrowseForComputer = 0x1000,
    bifBrowseForPrinter = 0x2000,
    bifDontGoBelowDomain = 0x0002,
    bifReturnFSAncestors = 0x0008,
    bifReturnOnlyFSDirs = 0x0001,
    bifStatusText = 0x0004,
};
Q_DECLARE_FLAGS(TFolderDlgOptions, TFolderDlgOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderDlgOptions)

class TFolderDialog : public QObject {
    Q_OBJECT
public:
    // The longest folder path the dialog hands back.
    static constexpr int kMaxPath = 260;

    explicit TFolderDialog(QObject* parent = nullptr) : QObject(parent) {}

    QString Title;
    TFolderDlgOptions Option = TFolderDlgOption::bifReturnOnlyFSDirs;

    // Runs the folder browser starting at `initial`; true when the user chose a
    // folder, whose path (without a trailing separator) is then in FolderName().
    // A path longer than kMaxPath is refused like a cancel.
    bool Execute(const QString& initial = {});
    QString FolderName() const { return m_folder; }

private:
    QString m_folder;
};
