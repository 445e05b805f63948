// The module's one export: the table of what the GTK face offers.
#include "platform/face.h"

#include "platform/gtk/message_box.h"

extern "C" __attribute__((visibility("default"))) const KelmorFace* KelmorFaceEntry() {
    static const KelmorFace face = {sizeof(KelmorFace), KELMOR_FACE_VERSION, GtkMessageBox};
    return &face;
}
