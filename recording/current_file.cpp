#include "recording/recording_file.h"

#include "recording/playback_state.h"
#include "recording/recording.h"

char gszFile[MAX_PATH] = "";
bool gbModified = false;
bool gbFileChosen = false;
bool gbRecordingCut = false;

void ResetRecordingState() {
    if (gEvents != nullptr) ClearRecording();
    nBackupEventCount = 0;
    gszFile[0] = '\0';
    gbModified = false;
    gbFileChosen = false;
    gbRecordingCut = false;
    nCompletedPasses = 0;
}
