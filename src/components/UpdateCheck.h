#pragma once

#include "components/UpdateDescription.h"

#include <QString>

class UpdateFetcher;

// What one update check starts from.
struct UpdateCheckRequest {
    QString UpdateFileURL;  // the update description file
    QString UpdatePageURL;  // the update page when the description names none
    QString Version;        // the running version's short text
    QString programSection; // the section of the description file to read
};

// The message a check that found nothing newer ends with.
enum class UpdateCheckMessage {
    None,                // a newer version was found
    NoNewVersions,       // information: "There are no new versions available."
    NoAdvertisedVersions // question: open the update page?
};
// The message's text; the question's two lines are joined by "\n".
QString updateCheckMessageText(UpdateCheckMessage message);

// What the check found: the notification window's fields and release-notes text.
struct UpdateCheckResult {
    UpdateDescription fields;
    // The release-notes field: the notes' lines joined by "\n", or the "Failed: " line of the
    // last failed fetch, or "" (one empty line) when neither.
    QString readme;
    bool downloadEnabled = false;
    bool newer = false;
    UpdateCheckMessage message = UpdateCheckMessage::None;
};

// The description file and the release notes may not be longer than this.
inline constexpr qint64 kUpdateTextMaximumSize = qint64(4) * 1024 * 1024;

// Runs the check: fetches the description file into a temporary file and reads the program's
// section, fetches the release notes (whatever the versions), then compares the versions.
// A failed or invalid fetch of the description counts as nothing published. Throws a
// ComponentError with the system's message when a temporary file cannot be made or written.
UpdateCheckResult runUpdateCheck(const UpdateCheckRequest &request, UpdateFetcher &fetcher);
