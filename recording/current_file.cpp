#include "recording/recording_file.h"

#include "recording/recording.h"

void ResetRecordingState() {
    gRecording = RecordingState{};
    if (gRecordingStore.gEvents != nullptr) ClearRecording();
}
