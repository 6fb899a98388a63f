#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/text/Base64.h"

namespace {

struct Vector {
    const char* plain;
    const char* encoded;
};

// The test vectors of RFC 4648, section 10: one, two and three bytes per final group.
constexpr Vector Rfc4648Vectors[] = {
    {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
};

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

} // namespace

TEST(Base64Encode, MatchesTheStandardVectorsAndPadding)
{
    for (const auto& v : Rfc4648Vectors) {
        EXPECT_EQ(Base64Encode(v.plain), v.encoded) << v.plain;
        EXPECT_EQ(Base64Decode(v.encoded), v.plain) << v.encoded;
    }
    EXPECT_EQ(Base64Encode("NORVALE:lantern4"), "Tk9SVkFMRTpsYW50ZXJuNA==");
    // The two values beyond the letters and digits.
    EXPECT_EQ(Base64Encode(Bytes({0xFB, 0xEF, 0xBE})), "++++");
    EXPECT_EQ(Base64Encode(Bytes({0xFF})), "/w==");
}

TEST(Base64Encode, RoundTripsEveryByteAndRandomTexts)
{
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
    EXPECT_EQ(Base64Decode(Base64Encode(allBytes)), allBytes);

    std::mt19937 random(20240607);
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 40, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        const std::string encoded = Base64Encode(text);
        ASSERT_EQ(encoded.size(), (text.size() + 2) / 3 * 4);
        ASSERT_EQ(encoded.find_first_of("\r\n"), std::string::npos);
        ASSERT_EQ(Base64Decode(encoded), text) << encoded;
    }
}

TEST(Base64CharValue, MapsTheAlphabetAndNothingElse)
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) EXPECT_EQ(Base64CharValue(alphabet[i]), i) << alphabet[i];
    int outside = 0;
    for (int c = 0; c < 256; ++c) outside += Base64CharValue(static_cast<char>(c)) == 255;
    EXPECT_EQ(outside, 256 - 64); // "=", blanks, "-", "_" and all high bytes among them
}

TEST(Base64Decode, StopsAtPaddingOrAnInvalidThirdOrFourthCharacter)
{
    // Padding ends the text for good, even when more groups follow.
    EXPECT_EQ(Base64Decode("Zg==Zm9v"), "f");
    EXPECT_EQ(Base64Decode("Zm8=Zm9v"), "fo");
    EXPECT_EQ(Base64Decode("Zm*vZm9v"), "f");
    EXPECT_EQ(Base64Decode("Zm9*Zm9v"), "fo");
}

TEST(Base64Decode, TakesAnInvalidFirstOrSecondCharacterAs63)
{
    EXPECT_EQ(Base64Decode("*A=="), Bytes({0xFC}));
    EXPECT_EQ(Base64Decode("/A=="), Bytes({0xFC}));
    EXPECT_EQ(Base64Decode("A*AA"), Bytes({0x03, 0xF0, 0x00}));
}

TEST(Base64Decode, IgnoresAnIncompleteLastGroup)
{
    EXPECT_EQ(Base64Decode("Zm9vYg"), "foo");
    EXPECT_EQ(Base64Decode("Zm9vY"), "foo");
    EXPECT_EQ(Base64Decode("Zm9"), "");
    EXPECT_EQ(Base64Decode(""), "");
}
