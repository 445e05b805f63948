#include "platform/win32gui/file_uri.h"

#include <gtest/gtest.h>

#include <cstring>

// The help pages' URIs as the core writes them, back to the paths the shell opens.
TEST(FileUriTest, PathsOfDriveAndShareUrisWithoutTheirTopic) {
    char path[64];
    ASSERT_TRUE(Win32PathOfFileUri("file:///Z:/my%20help/Kelmor%25Guide.html#topic-1092", path, sizeof path));
    EXPECT_STREQ("Z:\\my help\\Kelmor%Guide.html", path);
    ASSERT_TRUE(Win32PathOfFileUri("file:////server/share/KelmorFAQ.html", path, sizeof path));
    EXPECT_STREQ("\\\\server\\share\\KelmorFAQ.html", path);
}

TEST(FileUriTest, OtherUrisAndPathsTooLongGiveNothing) {
    char path[16];
    memset(path, 'x', sizeof path);
    EXPECT_FALSE(Win32PathOfFileUri("https://kelmor.example.org", path, sizeof path));
    EXPECT_STREQ("", path);
    EXPECT_FALSE(Win32PathOfFileUri("file:///C:/fifteen_chars", path, sizeof path));
    EXPECT_STREQ("", path);
    ASSERT_TRUE(Win32PathOfFileUri("file:///C:/fourteen_chr", path, sizeof path));
    EXPECT_STREQ("C:\\fourteen_chr", path);
}
