// The stored ShortTypes as the keyboard service's cache takes them.
#pragma once

enum { SHORTTYPE_LIST_SLOTS = 64, SHORTTYPE_LIST_SLOT_SIZE = 16 };

// Cache mode: fills list (64 slots of 16 bytes, all zero first) with the abbreviations of
// the stored ShortTypes, packed from slot 0 in the store's order. The cache holds no
// more than 64, so whoever stores ShortTypes must refuse a 65th. A name of more than 15
// characters is passed over: cut, it would be some other abbreviation.
void ReadShortTypes(char list[SHORTTYPE_LIST_SLOTS * SHORTTYPE_LIST_SLOT_SIZE]);
