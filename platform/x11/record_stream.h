// The stream of the desktop's input through the RECORD extension, shared by the
// journal's record hook and the keyboard hook: every device event of all clients, read
// on a connection of its own and handed over from the main loop. One stream runs at a
// time.
#pragma once
#include <cstdint>
#include <functional>

struct X11RawEvent {
    uint8_t type;    // KeyPress ... MotionNotify, or FocusIn for a client's focus request
    uint8_t detail;  // keycode or button
    uint16_t state;  // modifiers and buttons before the event
    int16_t x, y;    // root coordinates
    uint32_t time;   // on the tick clock
    uint32_t focus;  // FocusIn: the window asked for (None, PointerRoot or a window)
};
typedef void (*X11RecordSink)(const X11RawEvent& event);

// Starts handing sink the events from KeyPress up to lastType (KeyRelease: keys only;
// MotionNotify: the pointer too), and with focusRequests every client's request to move
// the input focus, in the order the server took them among the events. A stream already
// running for another sink ends first and its onTakenOver is called. False when the
// display or RECORD is missing.
bool X11StartRecordStream(int lastType, bool focusRequests, X11RecordSink sink, void (*onTakenOver)());
// The sink the running stream feeds; nullptr when none runs.
X11RecordSink X11RecordStreamSink();
// Hands the sink what the server recorded up to now and the loop has not read yet.
// Does nothing from inside the sink, which may itself end the stream on one of them.
void X11DrainRecordStream();
// Reads what has reached the data connection, without waiting; whether any of the
// events waiting to be handed to the sink after the one it has now counts, each shown to
// counts in order until one does. The server must have flushed them: one round trip on
// the program's connection after taking them does.
bool X11RecordStreamCatchUp(const std::function<bool(const X11RawEvent&)>& counts);
// Ends the stream, dropping what was not handed over; safe from inside the sink.
void X11StopRecordStream();
