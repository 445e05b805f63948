// RECORD streams its data as one endless reply on a connection of its own (the data
// connection); the context is made and ended on the program's connection. Xlib runs
// the stream's callback from deep inside its reply handling, where no request may be
// made on that connection, so the callback only queues the raw events; they are handed
// to the sink afterwards, from the main loop.
#include "platform/x11/record_stream.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <glib-unix.h>
#include <glib.h>

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/x11/display.h"

namespace {

X11RecordSink gSink = nullptr;
void (*gOnTakenOver)() = nullptr;
int gLastType = MotionNotify;
bool gFocusRequests = false;
Display* gData = nullptr;  // opened at the first start, kept for the program's life
guint gDataWatch = 0;
Window gClockWindow = None;
Atom gClockAtom = None;
XRecordContext gContext = 0;
// Each start is a session; data still streaming for an ended one is dropped.
unsigned gSession = 0;
// Set while events are handed to the sink, which may end the stream from inside.
bool gDelivering = false;
// An enabled context's stream has not yet ended on the data connection.
bool gStreaming = false;
std::vector<X11RawEvent> gQueue;
// The batch being handed over, and where in it the events after the sink's begin.
const std::vector<X11RawEvent>* gBatch = nullptr;
size_t gBatchNext = 0;
// Added to server times to put them on the tick clock.
uint32_t gClockOffset = 0;

void OnRecordData(XPointer closure, XRecordInterceptData* data) {
    if (data->category == XRecordEndOfData) {
        gStreaming = false;
    } else if (data->category == XRecordFromServer && data->data != nullptr && data->data_len * 4 >= sizeof(xEvent) &&
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(closure)) == gSession && gSink != nullptr) {
        xEvent event;
        memcpy(&event, data->data, sizeof event);
        X11RawEvent raw{};
        raw.type = event.u.u.type & 0x7F;
        raw.detail = event.u.u.detail;
        raw.state = event.u.keyButtonPointer.state;
        raw.x = event.u.keyButtonPointer.rootX;
        raw.y = event.u.keyButtonPointer.rootY;
        raw.time = event.u.keyButtonPointer.time + gClockOffset;
        if (raw.type >= KeyPress && raw.type <= gLastType) gQueue.push_back(raw);
    } else if (data->category == XRecordFromClient && data->data != nullptr &&
               data->data_len * 4 >= sizeof(xSetInputFocusReq) && data->data[0] == X_SetInputFocus &&
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(closure)) == gSession && gSink != nullptr &&
               gFocusRequests) {
        xSetInputFocusReq request;
        memcpy(&request, data->data, sizeof request);
        uint32_t focus = request.focus;
        // Requests come in the byte order of the client that made them.
        if (data->client_swapped) {
            focus = (focus >> 24) | ((focus >> 8) & 0xFF00u) | ((focus << 8) & 0xFF0000u) | (focus << 24);
        }
        X11RawEvent raw{};
        raw.type = FocusIn;
        raw.time = static_cast<uint32_t>(data->server_time) + gClockOffset;
        raw.focus = focus;
        gQueue.push_back(raw);
    }
    XRecordFreeData(data);
}

void Deliver() {
    const unsigned session = gSession;
    const bool outer = gDelivering;
    const std::vector<X11RawEvent>* outerBatch = gBatch;
    const size_t outerNext = gBatchNext;
    gDelivering = true;
    // What the sink reads from the connection meanwhile (X11RecordStreamCatchUp) joins the
    // queue and is handed over in its turn: the connection will not wake the loop for it.
    while (!gQueue.empty() && gSink != nullptr && gSession == session) {
        std::vector<X11RawEvent> batch;
        batch.swap(gQueue);
        gBatch = &batch;
        for (size_t i = 0; i < batch.size(); ++i) {
            // The sink may end the stream (a stop key) in the middle of a batch.
            if (gSink == nullptr || gSession != session) break;
            gBatchNext = i + 1;
            gSink(batch[i]);
        }
    }
    gBatch = outerBatch;
    gBatchNext = outerNext;
    gDelivering = outer;
}

gboolean OnDataReadable(gint, GIOCondition condition, gpointer) {
    if (gData == nullptr) return G_SOURCE_REMOVE;
    if ((condition & (G_IO_HUP | G_IO_ERR)) != 0) {
        // The server went away; Xlib's own handler ends the program on the next request.
        gDataWatch = 0;
        gSink = nullptr;
        return G_SOURCE_REMOVE;
    }
    XRecordProcessReplies(gData);
    Deliver();
    return G_SOURCE_CONTINUE;
}

bool OpenDataConnection(Display* control) {
    if (gData != nullptr) return true;
    gData = XOpenDisplay(DisplayString(control));
    if (gData == nullptr) return false;
    X11AdoptConnection(gData);
    XSetWindowAttributes attributes;
    attributes.event_mask = PropertyChangeMask;
    gClockWindow = XCreateWindow(gData, DefaultRootWindow(gData), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                 CopyFromParent, CWEventMask, &attributes);
    gClockAtom = XInternAtom(gData, "_KELMOR_CLOCK", False);
    gDataWatch = g_unix_fd_add(ConnectionNumber(gData), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                               OnDataReadable, nullptr);
    return true;
}

// The stream of an ended context closes with its end-of-data reply; a new context must
// not start streaming before that has been read.
void FinishEndedStream(Display* control) {
    if (!gStreaming) return;
    XSync(control, False);  // the server has handled the disable, and sent the end
    XSync(gData, False);    // reading up to our own reply reads the end too
}

// The server stamps events on its own millisecond clock. On Linux that is the same
// monotonic clock as the tick count, but a server elsewhere runs on another; a property
// change of our own shows how far apart the two are.
void MeasureClockOffset() {
    gClockOffset = 0;
    const uint32_t before = SysGetTickCount();
    const long zero = 0;
    XChangeProperty(gData, gClockWindow, gClockAtom, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&zero), 1);
    XSync(gData, False);
    const uint32_t after = SysGetTickCount();
    XEvent event;
    bool seen = false;
    uint32_t server = 0;
    while (XCheckTypedWindowEvent(gData, gClockWindow, PropertyNotify, &event)) {
        server = static_cast<uint32_t>(event.xproperty.time);
        seen = true;
    }
    if (!seen) return;
    // Within the round trip (and a millisecond of rounding): the same clock.
    if (static_cast<int32_t>(server - before) >= -1 && static_cast<int32_t>(after - server) >= -1) return;
    gClockOffset = before + (after - before) / 2 - server;
}

}  // namespace

bool X11StartRecordStream(int lastType, bool focusRequests, X11RecordSink sink, void (*onTakenOver)()) {
    if (sink == nullptr) return false;
    if (gContext != 0) {
        void (*takenOver)() = gSink != sink ? gOnTakenOver : nullptr;
        X11StopRecordStream();
        if (takenOver != nullptr) takenOver();
    }
    Display* control = X11Display();
    if (control == nullptr) return false;
    int major = 0, minor = 0;
    if (!XRecordQueryVersion(control, &major, &minor)) return false;
    if (!OpenDataConnection(control)) return false;
    FinishEndedStream(control);
    MeasureClockOffset();

    XRecordRange* range = XRecordAllocRange();
    if (range == nullptr) return false;
    range->device_events.first = KeyPress;
    range->device_events.last = static_cast<unsigned char>(lastType);
    if (focusRequests) range->core_requests.first = range->core_requests.last = X_SetInputFocus;
    XRecordClientSpec clients = XRecordAllClients;
    X11TrapErrors();
    XRecordContext context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
    const bool created = X11UntrapErrors() == 0 && context != 0;
    XFree(range);
    if (!created) return false;

    ++gSession;
    gQueue.clear();
    if (!XRecordEnableContextAsync(gData, context, OnRecordData,
                                   reinterpret_cast<XPointer>(static_cast<uintptr_t>(gSession)))) {
        XRecordFreeContext(control, context);
        return false;
    }
    XFlush(gData);
    gStreaming = true;
    gContext = context;
    gLastType = lastType;
    gFocusRequests = focusRequests;
    gSink = sink;
    gOnTakenOver = onTakenOver;
    return true;
}

X11RecordSink X11RecordStreamSink() { return gContext != 0 ? gSink : nullptr; }

void X11DrainRecordStream() {
    if (gContext == 0 || gData == nullptr || gSink == nullptr || gDelivering) return;
    Display* control = X11Display();
    if (control == nullptr) return;
    // The stream holds the data connection until it ends: end it, then read up to its
    // end, which comes after all the server recorded before now.
    X11TrapErrors();
    XRecordDisableContext(control, gContext);
    FinishEndedStream(control);
    X11UntrapErrors();
    Deliver();
}

bool X11RecordStreamCatchUp(const std::function<bool(const X11RawEvent&)>& counts) {
    if (gData != nullptr && gStreaming) XRecordProcessReplies(gData);
    if (gBatch != nullptr) {
        for (size_t i = gBatchNext; i < gBatch->size(); ++i) {
            if (counts((*gBatch)[i])) return true;
        }
    }
    for (const X11RawEvent& event : gQueue) {
        if (counts(event)) return true;
    }
    return false;
}

void X11StopRecordStream() {
    gSink = nullptr;
    ++gSession;
    gQueue.clear();
    if (gContext == 0) return;
    Display* control = X11Display();
    if (control != nullptr) {
        X11TrapErrors();
        XRecordDisableContext(control, gContext);
        XRecordFreeContext(control, gContext);
        X11UntrapErrors();
    }
    gContext = 0;
}
