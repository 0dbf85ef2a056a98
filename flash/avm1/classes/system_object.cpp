// System: capabilities of the player and the machine, security and
// settings methods that only answer, and System.Product.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

constexpr const char* kVersion = "WIN 8,0,24,0";

Value Nothing(Vm&, Object*, Args&) { return Value(); }
Value True(Vm&, Object*, Args&) { return Value(true); }

// allowDomain grants whatever it is given, and refuses to be called
// with nothing.
Value AllowDomain(Vm&, Object*, Args& args) { return Value(!args.empty()); }

Value ProductConstruct(Vm&, Object* self, Args&) { return Value(self); }

// The query string the player sends to servers about itself.
std::string ServerString(const std::string& version) {
    std::string escaped;
    for (char c : version) {
        if (c == ' ') escaped += "%20";
        else if (c == ',') escaped += "%2C";
        else escaped += c;
    }
    return "A=t&SA=t&SV=t&EV=t&MP3=t&AE=t&VE=t&ACC=f&PR=t&SP=t&SB=f&DEB=f&V=" + escaped +
           "&M=Corvella&R=1920x1080&DP=72&COL=color&AR=1.0&OS=Windows%20XP&L=en&PT=External&AVD=f&LFD=f&WD=f&TLS=t";
}

void InstallCapabilities(Vm& vm, Object* system) {
    Object* caps = vm.MakeObject();
    system->Define("capabilities", caps, kDontEnum);
    auto flag = [&](const char* name, bool value) { caps->Define(name, Value(value), 0); };
    auto text = [&](const char* name, const std::string& value) { caps->Define(name, Value(value), 0); };
    auto number = [&](const char* name, double value) { caps->Define(name, Value(value), 0); };
    flag("hasAudio", true);
    flag("hasMP3", true);
    flag("hasAudioEncoder", true);
    flag("hasVideoEncoder", true);
    flag("hasEmbeddedVideo", true);
    flag("hasStreamingAudio", true);
    flag("hasStreamingVideo", true);
    flag("hasScreenPlayback", true);
    flag("hasScreenBroadcast", false);
    flag("hasPrinting", true);
    flag("hasAccessibility", true);
    flag("hasIME", true);
    flag("hasTLS", true);
    flag("isDebugger", false);
    flag("localFileReadDisable", false);
    flag("avHardwareDisable", false);
    flag("windowlessDisable", false);
    text("version", kVersion);
    text("os", "Windows XP");
    text("manufacturer", "Corvella Windows");
    text("playerType", "External");
    text("language", "en");
    text("screenColor", "color");
    number("screenResolutionX", 1920);
    number("screenResolutionY", 1080);
    number("screenDPI", 72);
    number("pixelAspectRatio", 1);
    text("serverString", ServerString(kVersion));
}

}  // namespace

void InstallSystemObject(Vm& vm) {
    Object* system = InstallStatic(vm, "System");
    system->Define("exactSettings", Value(true), 0);
    system->FindOwn("exactSettings", true)->version_flags = kVersion6;
    system->Define("useCodepage", Value(false), 0);
    vm.AddMethod(system, "setClipboard", True);
    vm.AddMethod(system, "showSettings", Nothing);
    Object* security = vm.MakeObject();
    system->Define("security", security, kDontEnum);
    vm.AddMethod(security, "allowDomain", AllowDomain);
    vm.AddMethod(security, "allowInsecureDomain", True);
    vm.AddMethod(security, "loadPolicyFile", Nothing);
    InstallCapabilities(vm, system);

    Object* product_proto = vm.MakeObject();
    Function* product = vm.MakeClass("Product", ProductConstruct, nullptr, product_proto);
    system->Define("Product", product, kDontEnum);
    vm.AddMethod(product_proto, "launch", True);
    vm.AddMethod(product_proto, "download", True);
    vm.AddMethod(product_proto, "installedVersion", Nothing);
    vm.AddMethod(product_proto, "isInstalled", Nothing);
    vm.AddMethod(product_proto, "isRunning", Nothing);
}

// The version string scripts read as $version.
std::string PlayerVersionString() { return kVersion; }

}  // namespace flash::avm1
