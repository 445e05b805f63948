// The store's keys below the current user's root: the program's own values, a key per
// Mapping (named by its virtual key) and a key per ShortType (named by its abbreviation).
// Every path into the store is made from these.
#pragma once

#define KELMOR_KEY "SOFTWARE\\Kelmor"
#define KELMOR_MAPPINGS_KEY KELMOR_KEY "\\Mappings"
#define KELMOR_SHORTTYPE_KEY KELMOR_KEY "\\ShortType"
