// XMLNode and XML: building, walking and printing node trees; XML adds
// parsing, the document's declarations and loading local files.
#include "flash/avm1/classes/xml_node.h"

namespace flash::avm1 {

namespace {

XmlNode* AsNode(const Value& value) {
    return value.IsObject() ? dynamic_cast<XmlNode*>(value.object) : nullptr;
}

XmlNode* AsNode(Object* self) { return dynamic_cast<XmlNode*>(self); }

// The constructors make an XmlNode with the prototype `new` chose, standing
// in for the plain object it made.
XmlNode* Adopt(Vm& vm, Object* self, int type, const Value& name_or_value) {
    XmlNode* node = MakeXmlNode(vm, type, name_or_value, self ? self->proto : nullptr);
    if (self) {
        for (const char* hidden : {"__constructor__", "constructor"})
            if (Property* p = self->FindOwn(hidden, true)) node->Define(hidden, p->value, kDontEnum);
    }
    return node;
}

// new XMLNode(type, value)
Value NodeConstruct(Vm& vm, Object* self, Args& args) {
    if (args.empty()) return Value();
    int type = vm.ToInt(args[0]);
    return Value(static_cast<Object*>(Adopt(vm, self, type == 1 ? 1 : 3, Arg(args, 1))));
}

Value AppendChild(Vm&, Object* self, Args& args) {
    XmlNode* node = AsNode(self);
    XmlNode* child = AsNode(Arg(args, 0));
    // A node appended to its own parent stays where it is.
    if (node && child && child->parent != node) node->Insert(child, nullptr);
    return Value();
}

Value InsertBefore(Vm&, Object* self, Args& args) {
    XmlNode* node = AsNode(self);
    XmlNode* child = AsNode(Arg(args, 0));
    XmlNode* before = AsNode(Arg(args, 1));
    if (node && child && before) node->Insert(child, before);
    return Value();
}

Value RemoveNode(Vm&, Object* self, Args&) {
    if (XmlNode* node = AsNode(self)) node->Remove();
    return Value();
}

XmlNode* Clone(Vm& vm, XmlNode* node, bool deep) {
    XmlNode* copy = MakeXmlNode(vm, node->type, node->type == 1 ? node->name : node->value, node->proto);
    copy->name = node->name;
    copy->value = node->value;
    if (node->attributes) {
        for (const auto& entry : node->attributes->properties.entries())
            copy->attributes->Define(entry.name, entry.property.value, entry.property.flags);
    }
    if (deep)
        for (XmlNode* child : node->children) copy->Insert(Clone(vm, child, true), nullptr);
    return copy;
}

Value CloneNode(Vm& vm, Object* self, Args& args) {
    XmlNode* node = AsNode(self);
    if (!node) return Value();
    return Value(static_cast<Object*>(Clone(vm, node, vm.ToBoolean(Arg(args, 0)))));
}

Value HasChildNodes(Vm&, Object* self, Args&) {
    XmlNode* node = AsNode(self);
    return Value(node && !node->children.empty());
}

Value NodeToString(Vm& vm, Object* self, Args&) {
    XmlNode* node = AsNode(self);
    return node ? Value(XmlToString(vm, node)) : Value();
}

Value NamespaceForPrefix(Vm& vm, Object* self, Args& args) {
    XmlNode* node = AsNode(self);
    if (!node || args.empty()) return Value::Null();
    return NamespaceFor(vm, node, vm.ToString(args[0]));
}

Value PrefixForNamespace(Vm& vm, Object* self, Args& args) {
    XmlNode* node = AsNode(self);
    if (!node || args.empty()) return Value::Null();
    std::string uri = vm.ToString(args[0]);
    for (XmlNode* n = node; n; n = n->parent) {
        if (!n->attributes) continue;
        for (const auto& entry : n->attributes->properties.entries()) {
            std::string prefix;
            if (NamespacePrefix(entry.name, &prefix) && vm.ToString(entry.property.value) == uri) return Value(prefix);
        }
    }
    return Value::Null();
}

// ---- XML ----

void Parse(Vm& vm, XmlNode* document, const std::string& text) {
    bool ignore_white = vm.ToBoolean(vm.Get(document, "ignoreWhite"));
    int status = ParseXml(vm, document, text, ignore_white);
    vm.Set(document, "status", Value(static_cast<double>(status)));
}

// new XML(text)
Value XmlConstruct(Vm& vm, Object* self, Args& args) {
    XmlNode* document = Adopt(vm, self, 1, Value::Null());
    document->Define("idMap", vm.MakeObject(), kDontEnum);
    if (!args.empty() && !args[0].IsNullish()) Parse(vm, document, vm.ToString(args[0]));
    return Value(static_cast<Object*>(document));
}

Value ParseXmlMethod(Vm& vm, Object* self, Args& args) {
    XmlNode* document = AsNode(self);
    if (document) Parse(vm, document, vm.ToString(Arg(args, 0)));
    return Value();
}

Value CreateElement(Vm& vm, Object*, Args& args) {
    return Value(static_cast<Object*>(MakeXmlNode(vm, 1, Arg(args, 0))));
}

Value CreateTextNode(Vm& vm, Object*, Args& args) {
    return Value(static_cast<Object*>(MakeXmlNode(vm, 3, Arg(args, 0))));
}

// What a load delivers: the text parses into the document and onLoad
// hears whether it came.
Value OnData(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Value text = Arg(args, 0);
    if (text.IsUndefined()) {
        vm.CallMethod(Value(self), "onLoad", {Value(false)});
        return Value();
    }
    if (XmlNode* document = AsNode(self)) Parse(vm, document, vm.ToString(text));
    vm.Set(self, "loaded", Value(true));
    vm.CallMethod(Value(self), "onLoad", {Value(true)});
    return Value();
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }
Value False(Vm&, Object*, Args&) { return Value(false); }


}  // namespace

void InstallXmlClasses(Vm& vm) {
    Object* node = InstallClass(vm, vm.global, "XMLNode", NodeConstruct);
    vm.AddMethod(node, "appendChild", AppendChild);
    vm.AddMethod(node, "insertBefore", InsertBefore);
    vm.AddMethod(node, "removeNode", RemoveNode);
    vm.AddMethod(node, "cloneNode", CloneNode);
    vm.AddMethod(node, "hasChildNodes", HasChildNodes);
    vm.AddMethod(node, "toString", NodeToString);
    vm.AddMethod(node, "getNamespaceForPrefix", NamespaceForPrefix);
    vm.AddMethod(node, "getPrefixForNamespace", PrefixForNamespace);

    Object* xml = InstallClass(vm, vm.global, "XML", XmlConstruct);
    xml->proto = node;
    vm.AddMethod(xml, "createElement", CreateElement);
    vm.AddMethod(xml, "createTextNode", CreateTextNode);
    vm.AddMethod(xml, "parseXML", ParseXmlMethod);
    vm.AddMethod(xml, "load", LoadMethod);
    vm.AddMethod(xml, "sendAndLoad", SendAndLoadMethod);
    vm.AddMethod(xml, "send", False);
    vm.AddMethod(xml, "addRequestHeader", Nothing);
    vm.AddMethod(xml, "getBytesLoaded", BytesLoadedMethod);
    vm.AddMethod(xml, "getBytesTotal", BytesTotalMethod);
    vm.AddMethod(xml, "onData", OnData);
    vm.AddMethod(xml, "onLoad", Nothing);
    xml->Define("ignoreWhite", Value(false), 0);
    xml->Define("contentType", Value("application/x-www-form-urlencoded"), 0);
    xml->Define("loaded", Value(), 0);
    xml->Define("status", Value(0.0), 0);
    xml->Define("xmlDecl", Value(), 0);
    xml->Define("docTypeDecl", Value(), 0);
}

}  // namespace flash::avm1
