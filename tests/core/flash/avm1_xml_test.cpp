// XML parsing, printing and tree editing, and the timers scripts set.
#include "flash/avm1/classes/xml_node.h"

#include <gtest/gtest.h>

namespace flash::avm1 {
namespace {

struct XmlTest : ::testing::Test {
    Vm vm{8};

    Value NewXml(const std::string& text) { return vm.Construct(vm.Get(vm.global, "XML"), {Value(text)}); }
    std::string Print(const Value& node) { return vm.ToString(vm.CallMethod(node, "toString", {})); }
    double Status(const Value& doc) { return vm.ToNumber(vm.Get(doc.object, "status")); }
};

TEST_F(XmlTest, ParsesAndPrintsElementsAttributesAndEntities) {
    Value doc = NewXml("<?xml version=\"1.0\"?><a x=\"1&amp;2\" y='q'><b/>t &lt;x&gt; &#65;&apos;</a>");
    EXPECT_EQ(Status(doc), 0);
    // Parsed attributes are kept last first: they print reversed and enumerate as written.
    EXPECT_EQ(Print(doc), "<?xml version=\"1.0\"?><a y=\"q\" x=\"1&amp;2\"><b />t &lt;x&gt; A&apos;</a>");
    Value a = vm.Get(doc.object, "firstChild");
    EXPECT_EQ(vm.ToString(vm.Get(a.object, "nodeName")), "a");
    Value text = vm.Get(a.object, "lastChild");
    EXPECT_EQ(vm.ToString(vm.Get(text.object, "nodeValue")), "t <x> A'");
    EXPECT_EQ(vm.ToNumber(vm.Get(text.object, "nodeType")), 3);
    EXPECT_TRUE(vm.Get(doc.object, "nodeName").IsNull());
}

TEST_F(XmlTest, IgnoreWhiteDropsOnlyBlankTextAndCdataStaysText) {
    Value doc = NewXml("");
    vm.Set(doc.object, "ignoreWhite", Value(true));
    vm.CallMethod(doc, "parseXML", {Value("<r>  <f> x </f>\n<![CDATA[<raw>]]></r>")});
    Value r = vm.Get(doc.object, "firstChild");
    auto* children = vm.Get(r.object, "childNodes").object->AsArray();
    ASSERT_EQ(children->Elements().size(), 2u);
    EXPECT_EQ(Print(r), "<r><f> x </f>&lt;raw&gt;</r>");
}

TEST_F(XmlTest, MalformedInputGivesStatusCodes) {
    EXPECT_EQ(Status(NewXml("<a>")), -9);
    EXPECT_EQ(Status(NewXml("</a>")), -10);
    EXPECT_EQ(Status(NewXml("<a><!-- x</a>")), -5);
    EXPECT_EQ(Status(NewXml("<![CDATA[x")), -2);
    EXPECT_EQ(Status(NewXml("<a b=\"x></a>")), -8);
    EXPECT_EQ(Status(NewXml("<a></b>")), -9);
}

TEST_F(XmlTest, AppendChildMovesNodesAndRefusesCycles) {
    Value doc = NewXml("<a><b/></a><c/>");
    Value a = vm.Get(doc.object, "firstChild");
    Value b = vm.Get(a.object, "firstChild");
    Value c = vm.Get(doc.object, "lastChild");
    vm.CallMethod(c, "appendChild", {b});
    EXPECT_EQ(Print(doc), "<a /><c><b /></c>");
    vm.CallMethod(b, "appendChild", {c});   // c is b's parent: no change
    EXPECT_EQ(Print(doc), "<a /><c><b /></c>");
    EXPECT_EQ(vm.Get(b.object, "parentNode").object, c.object);
    EXPECT_EQ(vm.Get(c.object, "previousSibling").object, a.object);
    vm.CallMethod(c, "removeNode", {});
    EXPECT_EQ(Print(doc), "<a />");
    Value copy = vm.CallMethod(c, "cloneNode", {Value(true)});
    EXPECT_EQ(Print(copy), "<c><b /></c>");
    EXPECT_TRUE(vm.Get(copy.object, "parentNode").IsNull());
}

TEST_F(XmlTest, ChildNodesIsOneArrayRebuiltWhenChildrenChange) {
    Value doc = NewXml("<l><a/><b/></l>");
    Value list = vm.Get(vm.Get(doc.object, "firstChild").object, "childNodes");
    Value l = vm.Get(doc.object, "firstChild");
    vm.CallMethod(list, "push", {Value(1)});   // scripts may change it...
    EXPECT_EQ(vm.ToNumber(vm.Get(list.object, "length")), 3);
    vm.CallMethod(l, "appendChild", {vm.CallMethod(doc, "createElement", {Value("c")})});
    EXPECT_EQ(Print(list), "<a />,<b />,<c />");   // ...until the children change
    EXPECT_EQ(vm.Get(l.object, "childNodes").object, list.object);
    // A node appended to its own parent stays where it is.
    vm.CallMethod(l, "appendChild", {vm.Get(l.object, "firstChild")});
    EXPECT_EQ(Print(l), "<l><a /><b /><c /></l>");
}

TEST_F(XmlTest, IdAttributesFillIdMap) {
    Value doc = NewXml("<a id=\"one\"><b id=\"two\"/></a>");
    Value map = vm.Get(doc.object, "idMap");
    Value two = vm.Get(map.object, "two");
    ASSERT_TRUE(two.IsObject());
    EXPECT_EQ(vm.ToString(vm.Get(two.object, "nodeName")), "b");
}

TEST_F(XmlTest, TimersRunInOrderAndClearStopsThem) {
    std::vector<std::string> traced;
    vm.on_trace = [&](const std::string& line) { traced.push_back(line); };
    Value trace = Value(static_cast<Object*>(vm.MakeNative("t", [](Vm& v, Object*, Args& a) {
        v.Trace(v.ToString(a.empty() ? Value() : a[0]));
        return Value();
    })));
    Value id = vm.Call(vm.Get(vm.global, "setInterval"), Value(), {trace, Value(100.0), Value("i")});
    vm.Call(vm.Get(vm.global, "setTimeout"), Value(), {trace, Value(50.0), Value("o")});
    EXPECT_TRUE(vm.Call(vm.Get(vm.global, "setInterval"), Value(), {trace}).IsUndefined());
    for (int ms = 0; ms <= 250; ms += 50) {
        vm.clock_ms = ms;
        vm.RunTimers();
    }
    vm.Call(vm.Get(vm.global, "clearInterval"), Value(), {id});
    vm.clock_ms = 1000;
    vm.RunTimers();
    EXPECT_EQ(traced, (std::vector<std::string>{"o", "i", "i"}));
}

}  // namespace
}  // namespace flash::avm1
