// The reading frame: landmark matcher, captures, line characters, event pump.
#include <gtest/gtest.h>

#include "engines/web/WebReadersFrame.h"
#include "engines/web/WebReadersSink.h"

namespace qm {
namespace {

using readers::Frame;
using readers::Landmark;

struct FrameFixture {
    explicit FrameFixture(std::string text, bool skipLines = true)
        : page(std::move(text)), sink("http://h.example", "E"), frame(page, sink, skipLines) {}
    std::string page;
    CollectingSink sink;
    Frame frame;
};

TEST(ReaderFrame, MismatchRestartsWithTheNextCharacter) {
    // The character that breaks a partial match is not tried as a first character.
    EXPECT_FALSE(FrameFixture("<dl<dl><dt>").frame.Skip("<dl><dt>"));
    EXPECT_FALSE(FrameFixture("xaaab").frame.Skip("aab"));
    EXPECT_FALSE(FrameFixture("<<dd>").frame.Skip("<dd"));
    // A mismatch on the first character simply moves on.
    FrameFixture f("abc<dl><dt>rest");
    ASSERT_TRUE(f.frame.Skip("<dl><dt>"));
    EXPECT_EQ(f.frame.Pos(), 11u);
    EXPECT_EQ(f.frame.MatchPos(0), 3u);
    // Restarting after a broken match still finds a later complete one.
    FrameFixture g("aaxaab");
    ASSERT_TRUE(g.frame.Skip("aab"));
    EXPECT_EQ(g.frame.MatchPos(0), 3u);
}

TEST(ReaderFrame, LettersMatchEitherCaseOtherBytesOnlyThemselves) {
    EXPECT_TRUE(FrameFixture("<DL><Dt>").frame.Skip("<dl><dt>"));
    EXPECT_TRUE(FrameFixture("HREF=\"X").frame.Skip("href=\"x"));
    EXPECT_FALSE(FrameFixture("href='x").frame.Skip("href=\"x"));
    // Bytes above 127 are not folded.
    EXPECT_FALSE(FrameFixture("\xc9t\xe9").frame.Skip("\xe9t\xe9"));
    EXPECT_TRUE(FrameFixture("\xe9T\xe9").frame.Skip("\xe9t\xe9"));
}

TEST(ReaderFrame, LineCharactersArePassedOverAndCapturedAsBlanks) {
    FrameFixture f("<d\tl>\r\n<dt>one\ttwo\nthree</a");
    ASSERT_TRUE(f.frame.Skip("<dl><dt>"));
    std::string field;
    ASSERT_TRUE(f.frame.Capture("</a", field));
    EXPECT_EQ(field, "one two three");
    // A line break inside an end landmark does not break it either.
    FrameFixture g("x<\n/a>");
    ASSERT_TRUE(g.frame.Capture("</a", field));
    EXPECT_EQ(field, "x");
    // A tab is not a blank for a landmark that asks for one.
    FrameFixture h("a\tb c");
    ASSERT_TRUE(h.frame.Capture(" ", field));
    EXPECT_EQ(field, "a b");
}

TEST(ReaderFrame, LineCharactersAreOrdinaryWhenNotSkipped) {
    EXPECT_FALSE(FrameFixture("<dl>\n<dt>", false).frame.Skip("<dl><dt>"));
    FrameFixture f("one\ttwo\nthree\"", false);
    std::string field;
    ASSERT_TRUE(f.frame.Capture("\"", field));
    EXPECT_EQ(field, "one\ttwo\nthree");
}

TEST(ReaderFrame, FieldsAreCutTo511Characters) {
    std::string field;
    FrameFixture f(std::string(600, 'a') + "<");
    ASSERT_TRUE(f.frame.Capture("<", field));
    EXPECT_EQ(field, std::string(511, 'a'));
    EXPECT_EQ(f.frame.Pos(), 601u);  // the walk still ends after the landmark
    FrameFixture g(std::string(511, 'b') + "<");
    ASSERT_TRUE(g.frame.Capture("<", field));
    EXPECT_EQ(field.size(), 511u);
    FrameFixture h("<");
    ASSERT_TRUE(h.frame.Capture("<", field));
    EXPECT_EQ(field, "");
    // A missing end landmark captures nothing and leaves the field alone.
    FrameFixture k("abc");
    field = "kept";
    EXPECT_FALSE(k.frame.Capture("<", field));
    EXPECT_EQ(field, "kept");
}

TEST(ReaderFrame, AlternativesAndClassesDoNotMix) {
    const Landmark alt{"<br", "<im"};
    EXPECT_TRUE(FrameFixture("x<IMg").frame.Skip(alt));
    EXPECT_TRUE(FrameFixture("x<br").frame.Skip(alt));
    EXPECT_FALSE(FrameFixture("x<bm<ir").frame.Skip(alt));
    const Landmark classes = Landmark::Classes({"rw", "hu", "?"});
    EXPECT_TRUE(FrameFixture("wu?").frame.Skip(classes));
    EXPECT_TRUE(FrameFixture("Rh?").frame.Skip(classes));
    EXPECT_FALSE(FrameFixture("rr?").frame.Skip(classes));
}

TEST(ReaderFrame, ExpectConsumesTheMismatchingCharacter) {
    FrameFixture f(">nexx>next");
    EXPECT_FALSE(f.frame.Expect(">next"));
    EXPECT_EQ(f.frame.Pos(), 5u);
    EXPECT_TRUE(f.frame.Expect(">next"));
    FrameFixture g(">\nNEXT");
    EXPECT_TRUE(g.frame.Expect(">next"));
}

TEST(ReaderFrame, PumpsBeforeEvery512thCharacterAndStopsWhenAsked) {
    FrameFixture f(std::string(1100, 'a') + "<");
    EXPECT_TRUE(f.frame.Skip("<"));
    EXPECT_EQ(f.sink.pumps, 3u);  // positions 0, 512 and 1024
    FrameFixture exact(std::string(512, 'a'));
    EXPECT_FALSE(exact.frame.Skip("<"));
    EXPECT_EQ(exact.sink.pumps, 1u);
    // Going back over a block does not pump it again.
    FrameFixture back(std::string(600, 'a') + "<x");
    ASSERT_TRUE(back.frame.Skip("<"));
    back.frame.Rewind(10);
    EXPECT_TRUE(back.frame.Skip("<"));
    EXPECT_EQ(back.sink.pumps, 2u);
    // The second pump answers "stop": nothing at or after position 512 is read.
    FrameFixture stop(std::string(700, 'a') + "<");
    stop.sink.stopAtPump = 2;
    EXPECT_FALSE(stop.frame.Skip("<"));
    EXPECT_TRUE(stop.frame.Stopped());
    EXPECT_EQ(stop.frame.Pos(), 512u);
    EXPECT_EQ(stop.frame.Next(), -1);
}

}  // namespace
}  // namespace qm
