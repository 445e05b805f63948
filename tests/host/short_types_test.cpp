#include "host/short_types.h"

#include <string>

#include "platform/registry.h"
#include "settings/settings.h"
#include "tests/test_support.h"

class ShortTypesTest : public CoreTest {};

TEST_F(ShortTypesTest, TheCacheListHoldsTheFirst64NamesThatFitASlot) {
    char key[128];
    for (int i = 0; i < 66; ++i) {
        snprintf(key, sizeof key, KELMOR_KEY "\\ShortType\\s%02d", i);
        StoreCreateKey(key);
    }
    StoreCreateKey(KELMOR_KEY "\\ShortType\\a sixteen letters");  // sorts first, too long
    char list[1024];
    memset(list, 'x', sizeof list);
    ReadShortTypes(list);
    EXPECT_EQ(std::string(list), "s00");
    EXPECT_EQ(std::string(list + 63 * 16), "s63");
    EXPECT_EQ(std::string(list + 3, 13), std::string(13, '\0'));
}
