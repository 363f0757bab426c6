#pragma once

#include "generate/PublishPlan.h"

#include <QByteArray>

class DialogCopyProgress;
class QWidget;

// How the window writes a publish plan: its questions are message boxes owned by owner, and a
// progress window, when given, shows the file in hand and stops the run when cancelled, also
// part way through a large file, whose destination then stays as it was.
class WindowPublishObserver : public PublishObserver
{
public:
    enum class Asking {
        // Copy Locally: a file already in the folder is asked about (Yes, No, Cancel); a missing
        // source and a failed copy with Abort, Retry and Ignore.
        EveryFile,
        // Publish to Folder, after the user confirmed the list: files in the folder are replaced;
        // a missing source and a failed copy with Abort, Retry and Ignore.
        Confirmed,
        // The preview folder: files are replaced; a missing source and a failed copy with Retry
        // and Cancel.
        Preview,
    };

    WindowPublishObserver(Asking asking, QWidget* owner, DialogCopyProgress* progress = nullptr);

    bool Starting(int index, int count, const PlannedFile& file) override;
    Choice OnMissing(const PlannedFile& file) override;
    Choice OnExisting(const PlannedFile& file, const QByteArray& destination) override;
    Choice OnFailed(const PlannedFile& file, const QByteArray& message) override;
    bool KeepGoing() override;
    bool LeavesUnchangedFiles() const override;

private:
    Choice AskAboutProblem(const QByteArray& message);

    Asking m_asking;
    QWidget* m_owner;
    DialogCopyProgress* m_progress;
};

// Shows why a plan could not be made (two files of one name are both named). True when it did:
// nothing is to be written then.
bool ReportPlanProblem(QWidget* owner, const std::variant<PublishPlan, PlanProblem>& planned);

// One line for a planned file as the lists show it: its published name, and what it is made or
// copied from ("ok.wav  (converted from /home/ann/ok.au)").
QString DescribePlannedFile(const PlannedFile& file);
