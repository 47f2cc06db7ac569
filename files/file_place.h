#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Where a file lies, as the program reaches it: the folder that really holds it, held open, and
// the file's name there. A symbolic link on the way, or the file itself when it is one, is
// followed only when this user or root made it, each link of a chain judged on its own; one
// that another user made is refused (KovexError 70, naming the link), since it may have been
// planted to make this user read or write a file of the other's choice. The folder's owner
// earns a link no trust: root working in another user's game folder never follows that user's
// links.
//
// The decision is made here, once, when the place is reached; every call on the file then goes
// through the folder's own descriptor (file calls "at" it, never following a link), so nothing
// can be swapped in between. Each system's part is in a file of its own (file_place_posix.cpp,
// file_place_win.cpp).
class FilePlace {
public:
    // A folder on the way that is not there throws (KovexError 76); the file itself may be
    // missing.
    explicit FilePlace(const QString& path);
    ~FilePlace();
    FilePlace(const FilePlace&) = delete;
    FilePlace& operator=(const FilePlace&) = delete;

    enum class Kind { Missing, Regular, Folder, Other };
    // What is there now. A link that appeared since the place was reached counts as Other.
    Kind kind() const;

    // The path as the caller named it, for messages.
    const QString& named() const { return m_named; }
    // The file's name in the folder that holds it, links followed.
    const QString& name() const { return m_name; }
    // The name as the system spells it.
    const QByteArray& encodedName() const { return m_encodedName; }
    // That folder, for the system's calls.
    qintptr folder() const { return m_folder; }
    // Where that folder lies, for the calls that take a path.
    const QString& folderPath() const { return m_folderPath; }

private:
    QString m_named;
    QString m_name;
    QByteArray m_encodedName;
    QString m_folderPath;
    qintptr m_folder = -1;
};
