#include "flash/avm1/classes/xml_node.h"

#include "flash/avm1/array_object.h"

#include <algorithm>

namespace flash::avm1 {

namespace {

bool Is(Vm& vm, const std::string& name, const char* property) {
    return vm.CaseSensitive() ? name == property : FoldCase(name) == FoldCase(property);
}

XmlNode* Sibling(XmlNode* node, int step) {
    if (!node->parent) return nullptr;
    auto& list = node->parent->children;
    auto it = std::find(list.begin(), list.end(), node);
    if (it == list.end()) return nullptr;
    long index = (it - list.begin()) + step;
    if (index < 0 || index >= static_cast<long>(list.size())) return nullptr;
    return list[static_cast<size_t>(index)];
}

Value NodeOrNull(XmlNode* node) { return node ? Value(static_cast<Object*>(node)) : Value::Null(); }

std::string LocalName(const std::string& name) {
    size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string Prefix(const std::string& name) {
    size_t colon = name.find(':');
    return colon == std::string::npos ? "" : name.substr(0, colon);
}

}  // namespace

bool XmlNode::GetVirtual(Vm& vm, const std::string& property, Value* out) {
    if (Is(vm, property, "nodeType")) {
        *out = Value(static_cast<double>(type));
    } else if (Is(vm, property, "nodeName")) {
        *out = name;
    } else if (Is(vm, property, "nodeValue")) {
        *out = value;
    } else if (Is(vm, property, "childNodes")) {
        // One array per node, which scripts may change until the children do.
        if (!child_array) {
            child_array = vm.MakeArray();
            RefreshChildArray();
        }
        *out = Value(static_cast<Object*>(child_array));
    } else if (Is(vm, property, "firstChild")) {
        *out = NodeOrNull(children.empty() ? nullptr : children.front());
    } else if (Is(vm, property, "lastChild")) {
        *out = NodeOrNull(children.empty() ? nullptr : children.back());
    } else if (Is(vm, property, "parentNode")) {
        *out = NodeOrNull(parent);
    } else if (Is(vm, property, "nextSibling")) {
        *out = NodeOrNull(Sibling(this, 1));
    } else if (Is(vm, property, "previousSibling")) {
        *out = NodeOrNull(Sibling(this, -1));
    } else if (Is(vm, property, "attributes")) {
        if (!attributes) attributes = vm.MakeObject();
        *out = Value(attributes);
    } else if (Is(vm, property, "localName")) {
        *out = name.IsString() ? Value(LocalName(name.string)) : Value::Null();
    } else if (Is(vm, property, "prefix")) {
        *out = name.IsString() ? Value(Prefix(name.string)) : Value::Null();
    } else if (Is(vm, property, "namespaceURI")) {
        *out = name.IsString() ? NamespaceFor(vm, this, Prefix(name.string)) : Value::Null();
    } else {
        return false;
    }
    return true;
}

bool XmlNode::SetVirtual(Vm& vm, const std::string& property, const Value& v) {
    if (Is(vm, property, "nodeName")) {
        // An undefined name is ignored.
        if (!v.IsUndefined()) name = v.IsNull() ? Value::Null() : Value(vm.ToString(v));
    } else if (Is(vm, property, "nodeValue")) {
        value = v.IsNullish() ? Value::Null() : Value(vm.ToString(v));
    } else if (Is(vm, property, "attributes")) {
        if (v.IsObject()) attributes = v.object;
    } else {
        // The rest of the tree's properties are read-only.
        static const char* const kReadOnly[] = {"nodeType", "childNodes", "firstChild", "lastChild", "parentNode",
                                                "nextSibling", "previousSibling", "localName", "prefix",
                                                "namespaceURI"};
        for (const char* name_ro : kReadOnly)
            if (Is(vm, property, name_ro)) return true;
        return false;
    }
    return true;
}

void XmlNode::TraceRefs(Tracer& tracer) {
    tracer.Mark(parent);
    for (XmlNode* child : children) tracer.Mark(child);
    tracer.Mark(attributes);
    tracer.Mark(child_array);
    tracer.Mark(name);
    tracer.Mark(value);
}

bool NamespacePrefix(const std::string& attribute, std::string* prefix) {
    if (attribute.compare(0, 5, "xmlns") != 0) return false;
    *prefix = attribute.size() > 5 && attribute[5] == ':' ? attribute.substr(6) : "";
    return true;
}

Value NamespaceFor(Vm& vm, XmlNode* node, const std::string& prefix) {
    for (XmlNode* n = node; n; n = n->parent) {
        if (!n->attributes) continue;
        // Attributes are kept last first: the one written first wins.
        std::string bound;
        const auto& entries = n->attributes->properties.entries();
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            if (NamespacePrefix(it->name, &bound) && bound == prefix) return Value(vm.ToString(it->property.value));
    }
    return Value::Null();
}

void XmlNode::RefreshChildArray() {
    if (!child_array) return;
    std::vector<Value> elements;
    for (XmlNode* child : children) elements.push_back(Value(static_cast<Object*>(child)));
    child_array->SetElements(elements);
}

void XmlNode::Remove() {
    if (!parent) return;
    auto& list = parent->children;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    parent->RefreshChildArray();
    parent = nullptr;
}

bool XmlNode::Insert(XmlNode* child, XmlNode* before) {
    for (XmlNode* n = this; n; n = n->parent)
        if (n == child) return false;
    if (before && before->parent != this) return false;
    child->Remove();
    auto at = before ? std::find(children.begin(), children.end(), before) : children.end();
    children.insert(at, child);
    child->parent = this;
    RefreshChildArray();
    return true;
}

XmlNode* MakeXmlNode(Vm& vm, int type, const Value& name_or_value, Object* prototype) {
    if (!prototype) {
        // Whatever XMLNode.prototype is now, for scripts may replace it.
        Value constructor = vm.Get(vm.global, "XMLNode");
        Value current = constructor.IsObject() ? vm.Get(constructor.object, "prototype") : Value();
        prototype = current.IsObject() ? current.object : vm.Proto("XMLNode");
    }
    XmlNode* node = vm.heap.Make<XmlNode>(prototype);
    node->type = type;
    node->attributes = vm.MakeObject();
    Value text = name_or_value.IsNullish() ? Value::Null() : Value(vm.ToString(name_or_value));
    if (type == 1) node->name = text;
    else node->value = text;
    return node;
}

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string XmlToString(Vm& vm, XmlNode* node) {
    if (node->type != 1) return node->value.IsString() ? XmlEscape(node->value.string) : "";
    std::string out;
    bool element = node->name.IsString();
    if (!element) {
        for (const char* decl : {"xmlDecl", "docTypeDecl"}) {
            Value v = vm.Get(node, decl);
            if (!v.IsNullish()) out += vm.ToString(v);
        }
    }
    if (element) {
        out += "<" + node->name.string;
        if (node->attributes) {
            for (const auto& entry : node->attributes->properties.entries())
                out += " " + entry.name + "=\"" + XmlEscape(vm.ToString(entry.property.value)) + "\"";
        }
        if (node->children.empty()) return out + " />";
        out += ">";
    }
    for (XmlNode* child : node->children) out += XmlToString(vm, child);
    if (element) out += "</" + node->name.string + ">";
    return out;
}

}  // namespace flash::avm1
