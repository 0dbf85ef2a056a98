// Text field HTML reading and writing, text fields and drawings made by
// scripts (their geometry as scripts measure it), and Color.
#include "flash_test_movies.h"

#include "flash/avm1/vm.h"
#include "flash/drawing.h"
#include "flash/player.h"
#include "flash/renderer.h"
#include "flash/text_field.h"
#include "flash/text_format.h"

#include <gtest/gtest.h>

namespace flash {
namespace {

std::string Chars(const RichText& text) { return avm1::Utf8FromUtf16(text.chars); }

TextFormat Base() {
    TextFormat f = DefaultTextFormat();
    f.font = "Noto Sans";
    f.size = 6;
    return f;
}

const char* kOpen = "<P ALIGN=\"LEFT\"><FONT FACE=\"Noto Sans\" SIZE=\"6\" COLOR=\"#000000\" LETTERSPACING=\"0\" KERNING=\"0\">";

TEST(TextHtml, LineEndsEndParagraphsAndClosingPOnlyWhenMultiline) {
    EXPECT_EQ(Chars(ParseHtml("test\ntest\n\ntest", Base(), false, false)), "test\rtest\r\rtest");
    EXPECT_EQ(Chars(ParseHtml("<p>test</p>\n", Base(), false, false)), "test\r");
    EXPECT_EQ(Chars(ParseHtml("<p>test</p>\n", Base(), true, false)), "test\r\r");
    EXPECT_EQ(Chars(ParseHtml(" <p>test</p>  <p>test</p> ", Base(), true, false)), " test\r  test\r ");
    EXPECT_EQ(Chars(ParseHtml("a&lt;b&gt;&amp;&quot;", Base(), false, false)), "a<b>&\"");
    // Unknown tags and comments leave their text.
    EXPECT_EQ(Chars(ParseHtml("<!-- x --><span>hi</span>", Base(), false, false)), "hi");
    // A paragraph in which a nested one ended adds no break of its own.
    EXPECT_EQ(Chars(ParseHtml("<p>test<b></b><p>test</p></p>", Base(), true, false)), "testtest\r");
    EXPECT_EQ(Chars(ParseHtml("<p>a<p>b</p>c<p>d</p>e</p>", Base(), true, false)), "ab\rcd\re");
    EXPECT_EQ(Chars(ParseHtml("<p></p><p></p>", Base(), true, false)), "\r\r");
}

TEST(TextHtml, OlderMoviesReadHtmlTheOlderWay) {
    // Before version 7 closing p ends paragraphs even in one-line fields,
    // and white space alone between tags is no text.
    EXPECT_EQ(Chars(ParseHtml(" <p>test</p>  <p>test</p> ", Base(), false, false, 6)), "test\rtest\r");
    EXPECT_EQ(Chars(ParseHtml("<b>test</b>\n", Base(), false, false, 6)), "test");
    EXPECT_EQ(Chars(ParseHtml("\ntest\n", Base(), false, false, 6)), "\rtest\r");
    EXPECT_EQ(Chars(ParseHtml("\n", Base(), false, false, 6)), "");
    // Version 7 keeps one-line fields one paragraph and condenses each run alone.
    EXPECT_EQ(Chars(ParseHtml("<p>a</p><p>b</p>", Base(), false, false, 7)), "ab");
    EXPECT_EQ(Chars(ParseHtml("<b> x </b><i> y </i>", Base(), false, true, 7)), " x  y ");
    EXPECT_EQ(Chars(ParseHtml("<b> x </b><i> y </i>", Base(), false, true, 8)), "x y ");
    // Kerning and letter spacing came with version 8.
    RichText old = ParseHtml("<font kerning=\"1\" letterspacing=\"2\">k</font>", Base(), false, false, 7);
    EXPECT_EQ(*old.formats[0].kerning, false);
    EXPECT_EQ(*old.formats[0].letter_spacing, 0);
}

TEST(TextHtml, ColoursAndUnquotedAttributes) {
    auto color = [](const char* html) { return *ParseHtml(html, Base(), false, false).formats[0].color; };
    EXPECT_EQ(color("<font color=\"#ff\">x</font>"), 0xFF);
    EXPECT_EQ(color("<font color=\"#ff00ffffee\">x</font>"), 0xFFFFEE);
    EXPECT_EQ(color("<font color=\"#ff00gp\">x</font>"), 0xFF00);
    EXPECT_EQ(color("<font color=\"ff00ff\">x</font>"), 0);   // no '#': unchanged
    // A value without quotes stops the reading there.
    EXPECT_EQ(Chars(ParseHtml("a<font color=#00FF00>green</font>", Base(), false, false)), "a");
}

TEST(TextHtml, RunsInOtherFontsNestTheirFontTags) {
    TextFormat base = Base();
    RichText text = ParseHtml("t<font color=\"#aaaaaa\">a<font size=\"16\">b</font></font>t", base, false, false);
    std::string html = PrintHtml(text);
    EXPECT_NE(html.find(">t<FONT COLOR=\"#AAAAAA\">a<FONT SIZE=\"16\">b</FONT></FONT>t</FONT></P>"), std::string::npos)
        << html;
}

TEST(TextHtml, CondenseWhiteMakesOneSpaceOfEachRun) {
    EXPECT_EQ(Chars(ParseHtml("  a \n\n b  ", Base(), true, true)), "a b ");
    EXPECT_EQ(Chars(ParseHtml("a<br>b", Base(), true, true)), "a\rb");
}

TEST(TextHtml, TagsSetTheFormatOfTheirCharacters) {
    RichText text = ParseHtml("x<b>y<font color='#ff0000' size='+2'>z</font></b><a href=\"u\" target=\"t\">w</a>",
                              Base(), false, false);
    ASSERT_EQ(Chars(text), "xyzw");
    EXPECT_FALSE(*text.formats[0].bold);
    EXPECT_TRUE(*text.formats[1].bold);
    EXPECT_EQ(*text.formats[2].color, 0xFF0000);
    EXPECT_EQ(*text.formats[2].size, 8);
    EXPECT_TRUE(*text.formats[2].bold);
    EXPECT_EQ(*text.formats[3].url, "u");
    EXPECT_EQ(*text.formats[3].target, "t");
}

TEST(TextHtml, PrintsParagraphsWithTheRunsThatDiffer) {
    TextFormat base = Base();
    EXPECT_EQ(PrintHtml(RichText{}), "");
    // A last paragraph end makes no empty paragraph; an empty one between does.
    RichText two = ParseHtml("a\n\nb\n", base, false, false);
    EXPECT_EQ(PrintHtml(two), std::string(kOpen) + "a</FONT></P>" + kOpen + "</FONT></P>" + kOpen + "b</FONT></P>");
    RichText mixed = ParseHtml("a <font color=\"#aaaaaa\" kerning=\"1\"><b>t&amp;</b></font>", base, false, false);
    EXPECT_EQ(PrintHtml(mixed),
              std::string(kOpen) + "a <FONT COLOR=\"#AAAAAA\" KERNING=\"1\"><B>t&amp;</B></FONT></FONT></P>");
    RichText item = ParseHtml("<textformat leading=\"2\"><li>x</li></textformat>", base, false, false);
    EXPECT_EQ(PrintHtml(item),
              "<TEXTFORMAT LEADING=\"2\"><LI><FONT FACE=\"Noto Sans\" SIZE=\"6\" COLOR=\"#000000\" LETTERSPACING=\"0\" "
              "KERNING=\"0\">x</FONT></LI></TEXTFORMAT>");
}

TEST(TextFormats, IntersectKeepsWhatAgreesAndApplyTakesWhatIsSet) {
    TextFormat a = DefaultTextFormat(), b = DefaultTextFormat();
    b.bold = true;
    b.size = 20;
    a.Intersect(b);
    EXPECT_FALSE(a.bold.has_value());
    EXPECT_FALSE(a.size.has_value());
    EXPECT_EQ(*a.font, "Times New Roman");
    TextFormat patch;
    patch.color = 0x123456;
    TextFormat c = DefaultTextFormat();
    c.Apply(patch);
    EXPECT_EQ(*c.color, 0x123456);
    EXPECT_EQ(*c.size, 12);
}

TEST(Drawing, FillsCloseTheirPathAndBoundsCountLineWidth) {
    Drawing d;
    FillStyle fill;
    d.SetLine(LineStyle{40, Rgba{}});
    d.BeginFill(fill);
    d.MoveTo(0, 0);
    d.LineTo(200, 0);
    d.LineTo(200, 100);
    d.EndFill();
    ASSERT_EQ(d.shape.layers.size(), 1u);
    const ShapeLayer& layer = d.shape.layers[0];
    ASSERT_EQ(layer.edges.size(), 3u);
    // The closing edge fills and is drawn with the line in use.
    EXPECT_EQ(layer.edges[2].x1, 0);
    EXPECT_EQ(layer.edges[2].line, 1);
    EXPECT_EQ(layer.edges[2].fill1, 1);
    EXPECT_EQ(layer.edges[0].line, 1);
    EXPECT_EQ(d.shape.xmin, -20);
    EXPECT_EQ(d.shape.xmax, 220);
    EXPECT_EQ(d.shape.ymin, -20);
    EXPECT_EQ(d.shape.ymax, 120);
}

TEST(Drawing, EachFillIsALayerAboveAndClearEmpties) {
    Drawing d;
    d.MoveTo(10, 10);
    EXPECT_TRUE(d.empty);
    d.BeginFill(FillStyle{});
    d.LineTo(20, 10);
    d.LineTo(20, 20);
    d.BeginFill(FillStyle{});   // closes the first fill
    d.CurveTo(30, 30, 40, 10);
    d.EndFill();
    ASSERT_EQ(d.shape.layers.size(), 2u);
    EXPECT_EQ(d.shape.layers[0].edges.size(), 3u);
    // The first fill's end took the pen back to where it began.
    ASSERT_EQ(d.shape.layers[1].edges.size(), 2u);
    EXPECT_EQ(d.shape.layers[1].edges[0].x0, 10);
    EXPECT_EQ(d.shape.layers[1].edges.back().x1, 10);
    d.Clear();
    EXPECT_TRUE(d.empty);
    EXPECT_TRUE(d.shape.layers.empty());
}

TEST(Drawing, AnOpenFillIsShownClosedUntilThePenMovesOn) {
    Drawing d;
    d.BeginFill(FillStyle{});
    d.LineTo(100, 0);
    d.LineTo(100, 100);
    const std::vector<ShapeEdge>& edges = d.shape.layers.back().edges;
    ASSERT_EQ(edges.size(), 3u);
    EXPECT_EQ(edges[2].x0, 100);
    EXPECT_EQ(edges[2].x1, 0);
    d.LineTo(0, 100);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[3].y0, 100);
    EXPECT_EQ(edges[3].y1, 0);
    d.EndFill();
    EXPECT_EQ(edges.size(), 4u);
}

TEST(Drawing, GradientBoxFitsTheSquareIntoTheBox) {
    Matrix m = GradientBox(10, 20, 1638.4, 819.2, 0);
    EXPECT_DOUBLE_EQ(m.X(-16384, 0), 200);
    EXPECT_DOUBLE_EQ(m.X(16384, 0), 200 + 1638.4 * 20);
    EXPECT_DOUBLE_EQ(m.Y(0, 16384), 400 + 819.2 * 20);
}

struct ScriptedPlayer : ::testing::Test {
    Player player;
    avm1::Vm* vm = nullptr;
    avm1::Object* root = nullptr;

    void SetUp() override {
        SwfWriter movie(8, 100, 100, 10);
        movie.ShowFrame();
        player.Load(flash_test::Load(movie));
        vm = player.vm();
        root = vm->host->RootClip();
    }
    avm1::Value Call(avm1::Object* self, const char* method, avm1::Args args) {
        return vm->CallMethod(avm1::Value(self), method, std::move(args));
    }
    double Number(avm1::Object* self, const char* name) { return vm->ToNumber(vm->Get(self, name)); }
};

TEST_F(ScriptedPlayer, CreatedTextFieldsAreNamedChildrenWithTheirOwnBox) {
    avm1::Value field = Call(root, "createTextField", {avm1::Value("t"), avm1::Value(3), avm1::Value(10),
                                                       avm1::Value(20), avm1::Value(100), avm1::Value(50)});
    ASSERT_TRUE(field.IsObject());
    EXPECT_EQ(vm->Get(root, "t").object, field.object);
    EXPECT_EQ(vm->ToString(field), "_level0.t");
    EXPECT_EQ(Number(field.object, "_x"), 10);
    EXPECT_EQ(Number(field.object, "_width"), 100);
    vm->Set(field.object, "text", avm1::Value("a\nb"));
    EXPECT_EQ(vm->ToString(vm->Get(field.object, "text")), "a\rb");
    EXPECT_EQ(Number(field.object, "length"), 3);
    // The field counts in its parent's bounds.
    EXPECT_EQ(Number(root, "_width"), 100);
    Call(field.object, "removeTextField", {});
    EXPECT_TRUE(vm->Get(root, "t").IsUndefined());
}

TEST_F(ScriptedPlayer, SizeSetIsTheBoxAndAReadOnlyVariableKeepsTheFieldsText) {
    avm1::Object* field = Call(root, "createTextField", {avm1::Value("t"), avm1::Value(1), avm1::Value(0),
                                                         avm1::Value(0), avm1::Value(100), avm1::Value(20)}).object;
    vm->Set(field, "_xscale", avm1::Value(200));
    vm->Set(field, "_width", avm1::Value(20));   // the box, not the scaled size
    EXPECT_EQ(Number(field, "_width"), 40);
    // Bound to an unset variable, the field gives it nothing; a variable
    // that cannot be written leaves the field its own text.
    vm->Set(field, "variable", avm1::Value("v"));
    vm->Set(root, "v", avm1::Value("first"));
    EXPECT_EQ(vm->ToString(vm->Get(field, "text")), "first");
    Call(vm->global, "ASSetPropFlags", {avm1::Value(root), avm1::Value("v"), avm1::Value(4)});
    vm->Set(field, "text", avm1::Value("second"));
    EXPECT_EQ(vm->ToString(vm->Get(root, "v")), "first");
    EXPECT_EQ(vm->ToString(vm->Get(field, "text")), "second");
}

TEST_F(ScriptedPlayer, AutoSizeKeepsTheSideItNames) {
    avm1::Object* field = Call(root, "createTextField", {avm1::Value("t"), avm1::Value(1), avm1::Value(100),
                                                         avm1::Value(0), avm1::Value(200), avm1::Value(20)}).object;
    vm->Set(field, "text", avm1::Value("abc"));
    vm->Set(field, "autoSize", avm1::Value("right"));
    double width = Number(field, "_width");
    EXPECT_LT(width, 200);
    EXPECT_DOUBLE_EQ(Number(field, "_x") + width, 300);
    vm->Set(field, "text", avm1::Value("abcdef"));
    EXPECT_GT(Number(field, "_width"), width);
    EXPECT_DOUBLE_EQ(Number(field, "_x") + Number(field, "_width"), 300);
    EXPECT_EQ(vm->ToString(vm->Get(field, "autoSize")), "right");
}

TEST_F(ScriptedPlayer, BoundVariableAndTextFollowEachOther) {
    avm1::Object* field = Call(root, "createTextField", {avm1::Value("t"), avm1::Value(1), avm1::Value(0),
                                                         avm1::Value(0), avm1::Value(20), avm1::Value(20)}).object;
    vm->Set(field, "variable", avm1::Value("shown"));
    vm->Set(root, "shown", avm1::Value(42));
    EXPECT_EQ(vm->ToString(vm->Get(field, "text")), "42");
    vm->Set(field, "text", avm1::Value("typed"));
    EXPECT_EQ(vm->ToString(vm->Get(root, "shown")), "typed");
}

TEST_F(ScriptedPlayer, TextFormatsOverRangesLeaveOutWhatDiffers) {
    avm1::Object* field = Call(root, "createTextField", {avm1::Value("t"), avm1::Value(1), avm1::Value(0),
                                                         avm1::Value(0), avm1::Value(20), avm1::Value(20)}).object;
    vm->Set(field, "text", avm1::Value("abcd"));
    avm1::Object* bold = vm->MakeObject();
    vm->Set(bold, "bold", avm1::Value(true));
    Call(field, "setTextFormat", {avm1::Value(1), avm1::Value(3), avm1::Value(bold)});
    avm1::Object* all = Call(field, "getTextFormat", {}).object;
    EXPECT_TRUE(vm->Get(all, "bold").IsNull());
    EXPECT_EQ(vm->ToString(vm->Get(all, "font")), "Times New Roman");
    avm1::Object* one = Call(field, "getTextFormat", {avm1::Value(2)}).object;
    EXPECT_TRUE(vm->ToBoolean(vm->Get(one, "bold")));
}

TEST_F(ScriptedPlayer, DrawingMethodsMakeTheClipsBoundsAndDuplicatesKeepThem) {
    avm1::Object* clip = Call(root, "createEmptyMovieClip", {avm1::Value("c"), avm1::Value(1)}).object;
    EXPECT_EQ(Number(clip, "_width"), 0);
    Call(clip, "beginFill", {avm1::Value(0xFF0000)});
    Call(clip, "moveTo", {avm1::Value(10), avm1::Value(10)});
    Call(clip, "lineTo", {avm1::Value(110), avm1::Value(10)});
    Call(clip, "lineTo", {avm1::Value(110), avm1::Value(60)});
    Call(clip, "endFill", {});
    EXPECT_EQ(Number(clip, "_width"), 100);
    EXPECT_EQ(Number(clip, "_height"), 50);
    EXPECT_TRUE(vm->ToBoolean(Call(clip, "hitTest", {avm1::Value(50), avm1::Value(20), avm1::Value(true)})));
    avm1::Object* copy = Call(clip, "duplicateMovieClip", {avm1::Value("d"), avm1::Value(2)}).object;
    EXPECT_EQ(Number(copy, "_width"), 100);
    Call(clip, "clear", {});
    EXPECT_EQ(Number(clip, "_width"), 0);
    EXPECT_EQ(Number(copy, "_width"), 100);
}

TEST_F(ScriptedPlayer, LineStyleTakesItsCapsAndJointStyle) {
    // A 10 pixel line from (20, 20) right to (60, 20), then down: square
    // caps reach 5 pixels past the start, a miter fills the outer corner
    // up to (65, 15); round ones would leave the pixels there.
    avm1::Object* clip = Call(root, "createEmptyMovieClip", {avm1::Value("c"), avm1::Value(1)}).object;
    Call(clip, "lineStyle", {avm1::Value(10), avm1::Value(0), avm1::Value(100), avm1::Value(false),
                             avm1::Value("normal"), avm1::Value("square"), avm1::Value("miter")});
    Call(clip, "moveTo", {avm1::Value(20), avm1::Value(20)});
    Call(clip, "lineTo", {avm1::Value(60), avm1::Value(20)});
    Call(clip, "lineTo", {avm1::Value(60), avm1::Value(60)});
    Canvas canvas;
    canvas.Resize(100, 100);
    Renderer renderer;
    renderer.Render(player, View{}, Quality::High, canvas);
    EXPECT_EQ(canvas.At(15, 16) & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.At(64, 16) & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.At(64, 63) & 0xFFFFFF, 0u);  // the square end cap
    EXPECT_EQ(canvas.At(66, 16) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ScriptedPlayer, ChildClipsAreNotOwnPropertiesOfTheirParent) {
    Call(root, "createEmptyMovieClip", {avm1::Value("c"), avm1::Value(1)});
    vm->Set(root, "v", avm1::Value(1));
    EXPECT_FALSE(vm->ToBoolean(Call(root, "hasOwnProperty", {avm1::Value("c")})));
    EXPECT_TRUE(vm->ToBoolean(Call(root, "hasOwnProperty", {avm1::Value("v")})));
}

TEST_F(ScriptedPlayer, ColorSetsAndReadsTheClipsTransform) {
    avm1::Object* clip = Call(root, "createEmptyMovieClip", {avm1::Value("c"), avm1::Value(1)}).object;
    avm1::Value color = vm->Construct(vm->Get(vm->global, "Color"), {avm1::Value(clip)});
    vm->CallMethod(color, "setRGB", {avm1::Value(0x123456)});
    EXPECT_EQ(vm->ToNumber(vm->CallMethod(color, "getRGB", {})), 0x123456);
    avm1::Object* transform = vm->CallMethod(color, "getTransform", {}).object;
    EXPECT_EQ(Number(transform, "ra"), 0);
    EXPECT_EQ(Number(transform, "gb"), 0x34);
    avm1::Object* half = vm->MakeObject();
    vm->Set(half, "aa", avm1::Value(50));
    vm->CallMethod(color, "setTransform", {avm1::Value(half)});
    EXPECT_EQ(Number(clip, "_alpha"), 50);
    EXPECT_EQ(vm->ToNumber(vm->CallMethod(color, "getRGB", {})), 0x123456);
    // Values the transform object only inherits are passed over.
    avm1::Object* base = vm->MakeObject();
    vm->Set(base, "ab", avm1::Value(-66));
    avm1::Object* derived = vm->MakeObject();
    derived->proto = base;
    vm->Set(derived, "rb", avm1::Value(7));
    vm->CallMethod(color, "setTransform", {avm1::Value(derived)});
    transform = vm->CallMethod(color, "getTransform", {}).object;
    EXPECT_EQ(Number(transform, "rb"), 7);
    EXPECT_EQ(Number(transform, "ab"), 0);
}

}  // namespace
}  // namespace flash

namespace flash {
namespace {

TEST_F(ScriptedPlayer, TransformMatrixMovesTheClip) {
    avm1::Object* clip = Call(root, "createEmptyMovieClip", {avm1::Value("c"), avm1::Value(1)}).object;
    avm1::Value transform = vm->Get(clip, "transform");
    ASSERT_TRUE(transform.IsObject());
    avm1::Object* matrix = vm->Get(transform.object, "matrix").object;
    ASSERT_NE(matrix, nullptr);
    vm->Set(matrix, "tx", avm1::Value(30));
    vm->Set(matrix, "a", avm1::Value(2));
    vm->Set(transform.object, "matrix", avm1::Value(matrix));
    EXPECT_EQ(Number(clip, "_x"), 30);
    EXPECT_EQ(Number(clip, "_xscale"), 200);
    EXPECT_EQ(Number(vm->Get(vm->Get(clip, "transform").object, "matrix").object, "tx"), 30);
    avm1::Object* color = vm->Get(transform.object, "colorTransform").object;
    ASSERT_NE(color, nullptr);
    vm->Set(color, "alphaMultiplier", avm1::Value(0.5));
    vm->Set(transform.object, "colorTransform", avm1::Value(color));
    EXPECT_EQ(Number(clip, "_alpha"), 50);
}

}  // namespace
}  // namespace flash
