// The record that every instance of the keyboard service shares, and the cache that the
// main program fills in it. Its layout is fixed: every instance reads it at these offsets.
#pragma once
#include <cstddef>
#include <cstdint>

#include "service/service_entry.h"

enum { SHORTTYPE_SLOTS = 64, SHORTTYPE_SLOT_SIZE = 16 };

struct KELMORSERVICEDATA {
    uint32_t hHook;     // 0 = not set
    uint32_t hWndMain;  // 0 = not set
    int32_t nLogLevel;
    int32_t nShortTypes;  // the non-empty slots, packed from slot 0
    uint8_t bAction[256];
    uint8_t bShift[256];
    uint8_t bControl[256];
    uint8_t bAlt[256];
    uint8_t bReserved[64];
    char szShortType[SHORTTYPE_SLOTS][SHORTTYPE_SLOT_SIZE];  // upper case, NUL-terminated
    char chShortTypeLast[SHORTTYPE_SLOTS];
    uint8_t nShortTypeLength[SHORTTYPE_SLOTS];
    char szLogFile[128];
    char szKeyboardLayout[12];  // kept for the layout of the record; nothing switches layouts now
};
static_assert(sizeof(KELMORSERVICEDATA) == 2396, "the shared record is 2396 bytes");
static_assert(offsetof(KELMORSERVICEDATA, nShortTypes) == 12, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, bAction) == 16, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, bShift) == 272, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, bControl) == 528, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, bAlt) == 784, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, bReserved) == 1040, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, szShortType) == 1104, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, chShortTypeLast) == 2128, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, nShortTypeLength) == 2192, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, szLogFile) == 2256, "record layout");
static_assert(offsetof(KELMORSERVICEDATA, szKeyboardLayout) == 2384, "record layout");

// This instance of the service: its view of the shared record and its own state.
struct ServiceInstance {
    // The shared record; nullptr while it has none.
    KELMORSERVICEDATA* gpServiceData = nullptr;
    // The most recently released keys (newest first, index 15 always 0) and the count of
    // its own typed events still to come back.
    char gszKeyBuffer[16] = {};
    int32_t gnInjectedEvents = 0;
    // A ShortType whose abbreviation a pressed key completed (-1: none), replaced once
    // that key and every key pressed after it are up again; the keys still down (one bit
    // each), and the characters typed meanwhile, typed again behind the replacement (at
    // most 15; more, or a key that makes none, gives the replacement up).
    int32_t gnPendingShortType = -1;
    uint8_t gPendingKeysDown[32] = {};
    uint32_t gPendingTyped[SHORTTYPE_SLOT_SIZE - 1] = {};
    int32_t gnPendingTyped = 0;
};
// Global because the system calls the keyboard hook with no context; this is the
// service module's only state of its own in each process it is loaded into.
extern ServiceInstance gService;

// Maps the shared record, zeroing it only when this instance created it. False when it
// cannot be had: the service then does not load in this process.
bool AttachServiceData();
void DetachServiceData();

// Replaces the whole record at once. Ctrl comes before Shift here, while the record keeps
// Shift first. A null pointer leaves its field empty. A log path or layout that does not
// fit its field is left out rather than cut (a cut path names another file), and so is a
// ShortType slot without its terminator. Returns 1.
SERVICE_ENTRY int ReloadServiceCache(uint32_t hWndMain, uint32_t hHook, int32_t logLevel, const char* logFile,
                                     const uint8_t* action, const uint8_t* control, const uint8_t* shift,
                                     const uint8_t* alt, const char* shortTypes, const char* keyboardLayout);

// Every global of service/ back to a fresh start: no record mapped, empty own state.
void ResetServiceState();
