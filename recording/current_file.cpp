#include "recording/recording_file.h"

char gszFile[MAX_PATH] = "";
bool gbModified = false;
bool gbFileChosen = false;
bool gbRecordingCut = false;
