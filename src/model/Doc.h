#pragma once

#include "model/BoxKind.h"
#include "model/Colour.h"
#include "model/LockEntry.h"
#include "model/MemberArea.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

class ProjectArchive;

// The entries of the border style list, in the order their index is stored. The field itself stays
// a number: a project file may hold any value, and keeps it.
enum class BorderStyle : std::int32_t {
    None,
    Up,
    Down,
    Bump,
    Dip,
};

// The project document: the lock table and every setting of the login box. Fields are public;
// the pages and the generators read and assign them directly. Texts are 8-bit bytes in the system
// code page; the multi-line messages keep each line break as backslash + "n".
class Doc
{
public:
    Doc();

    std::vector<LockEntry> locks;
    std::int32_t width = 0;
    std::int32_t height = 0;
    QByteArray correctEmail;
    QByteArray correctAudio;
    QByteArray incorrectMessage;
    QByteArray incorrectAudio;
    QByteArray failMessage;
    QByteArray failEmail;
    QByteArray failUrl;
    std::int32_t ignoreCase = 0;
    std::int32_t encrypt = 0;
    QByteArray userLabel;
    QByteArray passwordLabel;
    QByteArray loginLabel;
    QByteArray mailHost;
    QByteArray initialMessage;
    std::int32_t retries = 0;
    QByteArray fontFamily;
    std::int32_t fontSize = 0;
    std::int32_t fontBold = 0;
    std::int32_t fontItalic = 0;
    std::int32_t spacing = 0;
    std::int32_t margin = 0;
    std::int32_t borderThickness = 0;
    std::int32_t borderStyle = 0;
    Colour borderColor = 0;
    Colour backgroundColor = 0;
    QByteArray loadingMessage;
    QByteArray lockFile;
    std::int32_t reloadInterval = 0;
    std::int32_t readLocksFromFile = 0;
    // Kept in the file's tagged block (SettingsBlock.h): the kind of login box the outputs
    // carry, the key derivation count of the modern box's locks, and the folder whose files are
    // published with the page.
    BoxKind boxKind = BoxKind::Classic;
    std::int32_t iterations = 0;
    QByteArray siteFolder;
    // 0 once the user asked not to be told again that the applet's locks in an output are
    // readable.
    std::int32_t readableLocksNotice = 1;
    // Member areas, and the box's texts for members (SettingsBlock.h too).
    std::vector<MemberArea> areas;
    // Days that "Remember me" keeps a login in the visitor's browser; 0 offers no Remember me.
    std::int32_t rememberDays = 0;
    QByteArray rememberLabel;
    QByteArray logoutLabel;
    QByteArray noAccessMessage;
    QByteArray insecureMessage;
    QByteArray loadFailedMessage;
    // The folder Publish to Folder wrote into last, also kept in the block.
    QByteArray publishFolder;
    // Survives New: the next Create HTML File proposes the path the previous project used.
    QByteArray htmlFilePath;
    // Kept only while the program runs; never stored in the project file.
    QByteArray publishDirectory;

    // Puts every field but htmlFilePath and publishDirectory back to its default and empties the
    // lock table.
    void ResetProject();

    // The applet reads its locks from the lock input file instead of from the page.
    bool ReadsLocksFromFile() const;

    // Lock information in the generated text is scrambled.
    bool ScramblesLocks() const;

    // User IDs and passwords are compared without regard to case.
    bool IgnoresCase() const;

    // Writes or reads the project file's records, depending on the archive's direction.
    void Serialize(ProjectArchive& archive);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }

    // A number no other lock list of this run has had: what is made from the locks (the modern
    // box's lock data) stays current while it is the same. Whoever changes locks calls
    // LocksChanged.
    std::uint64_t LocksStamp() const { return m_locksStamp; }
    void LocksChanged();

private:
    void SerializeLocks(ProjectArchive& archive);

    bool m_modified = false;
    std::uint64_t m_locksStamp = 0;
};
