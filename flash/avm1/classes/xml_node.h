// XML nodes as script objects: elements (type 1) and text (type 3) in a
// tree, with the parser and the serializer that XML and XMLNode share.
#pragma once

#include "flash/avm1/classes/class_helpers.h"

#include <string>
#include <vector>

namespace flash::avm1 {

class XmlNode : public Object {
public:
    explicit XmlNode(Object* prototype) : Object(prototype) {}

    bool GetVirtual(Vm& vm, const std::string& name, Value* out) override;
    bool SetVirtual(Vm& vm, const std::string& name, const Value& value) override;
    void TraceRefs(Tracer& tracer) override;

    int type = 1;
    Value name = Value::Null();     // an element's tag; null for text and documents
    Value value = Value::Null();    // a text node's text
    XmlNode* parent = nullptr;
    std::vector<XmlNode*> children;
    Object* attributes = nullptr;
    ArrayObject* child_array = nullptr;   // what childNodes answers, refreshed when the children change

    // Makes childNodes list the children again.
    void RefreshChildArray();
    // Detaches from the parent.
    void Remove();
    // Inserts child before `before` (at the end when nullptr); false when
    // child is this node or one of its ancestors.
    bool Insert(XmlNode* child, XmlNode* before);
};

// A fresh node with XMLNode.prototype (or prototype when given).
XmlNode* MakeXmlNode(Vm& vm, int type, const Value& name_or_value, Object* prototype = nullptr);

// Parses text into the children of document, replacing them; returns the
// status code (0 ok, -2 to -10 for the kinds of malformed input).
// document's xmlDecl, docTypeDecl and idMap are set as the parse finds them.
int ParseXml(Vm& vm, XmlNode* document, const std::string& text, bool ignore_white);

// The prefix an attribute binds when it declares a namespace: "xmlns:p"
// binds p; "xmlns", "xmlns:" and any other name starting "xmlns" bind the
// default namespace (""). False for other attributes.
bool NamespacePrefix(const std::string& attribute, std::string* prefix);

// The URI bound to prefix by the nearest declaration on node or its
// ancestors (the first written among a node's attributes), or null.
Value NamespaceFor(Vm& vm, XmlNode* node, const std::string& prefix);

// The markup of a node and its descendants.
std::string XmlToString(Vm& vm, XmlNode* node);
std::string XmlEscape(const std::string& text);

}  // namespace flash::avm1
