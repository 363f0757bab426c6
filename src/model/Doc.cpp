#include "model/Doc.h"

#include "model/ProjectArchive.h"
#include "util/ProgramInfo.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <algorithm>

namespace {

// The smallest a lock record can be in the file: four empty texts.
constexpr qint64 SmallestLockRecord = 4;

} // namespace

Doc::Doc()
{
    ResetProject();
}

void Doc::ResetProject()
{
    width = 400;
    height = 200;
    locks.clear();
    correctEmail.clear();
    correctAudio.clear();
    incorrectMessage = "The user ID or password\\nentered is incorrect.";
    incorrectAudio.clear();
    failMessage = "You are not entitled to enter!";
    failEmail.clear();
    failUrl.clear();
    ignoreCase = 1;
    encrypt = 0;
    userLabel = "User:";
    passwordLabel = "Password:";
    loginLabel = "Login";
    mailHost.clear();
    initialMessage = "Enter your user ID and\\npassword, then click login.";
    retries = 3;
    fontFamily = "Arial";
    fontSize = 11;
    fontBold = 1;
    fontItalic = 0;
    spacing = 5;
    margin = 5;
    borderThickness = 5;
    borderStyle = 4;
    borderColor = MakeColour(192, 220, 192);
    backgroundColor = MakeColour(192, 220, 192);
    // Taken from the string table at every reset, so a translated table changes it.
    loadingMessage = LoadResourceText(IDS_LOADING_MESSAGE);
    lockFile = "lock.txt";
    reloadInterval = 300;
    readLocksFromFile = 0;
}

void Doc::Serialize(ProjectArchive& archive)
{
    // The writer's version and build head the file; a reader drops them.
    QByteArray productVersion = CurrentProgramInfo().productVersion;
    QByteArray privateBuild = CurrentProgramInfo().privateBuild;
    archive.Text(productVersion);
    archive.Text(privateBuild);

    archive.Text(htmlFilePath);
    archive.Int(width);
    archive.Int(height);
    archive.Text(correctEmail);
    archive.Text(correctAudio);
    archive.Text(incorrectMessage);
    archive.Text(incorrectAudio);
    archive.Text(failMessage);
    archive.Text(failEmail);
    archive.Text(failUrl);
    archive.Int(ignoreCase);
    archive.Int(encrypt);
    archive.Text(userLabel);
    archive.Text(passwordLabel);
    archive.Text(loginLabel);
    archive.Text(mailHost);
    archive.Text(initialMessage);
    archive.Int(retries);
    archive.Text(fontFamily);
    archive.Int(fontSize);
    archive.Int(fontBold);
    archive.Int(fontItalic);
    archive.Int(spacing);
    archive.Int(margin);
    archive.Int(borderThickness);
    archive.Int(borderStyle);
    archive.Rgb(borderColor);
    archive.Rgb(backgroundColor);
    archive.Text(loadingMessage);
    archive.Text(lockFile);
    archive.Int(reloadInterval);
    archive.Int(readLocksFromFile);

    auto count = static_cast<std::int32_t>(locks.size());
    archive.Int(count);
    if (archive.IsStoring()) {
        for (LockEntry& lock : locks)
            lock.Serialize(archive);
        return;
    }
    // The count comes from the file: it sizes the table only as far as the data can back it.
    if (const std::optional<qint64> remaining = archive.RemainingBytes(); count > 0 && remaining)
        locks.reserve(std::min<qint64>(count, *remaining / SmallestLockRecord));
    for (std::int32_t i = 0; i < count && archive.Ok(); ++i) {
        locks.emplace_back().Serialize(archive);
        if (!archive.Ok())
            locks.pop_back();
    }
}
