// lv2-ttl OUT_DIR MINOR MICRO: writes the LV2 bundle's description
// (manifest.ttl, WobrixFree.ttl, presets.ttl) into OUT_DIR. Names, programs
// and their values come from a live effect; URIs, symbols, ranges and
// groups from the port table the wrapper uses. A build tool, never installed.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "addon/lv2/Lv2Ports.h"
#include "effect/ZeltoBass.h"

namespace {

// Shortest text that reads back as the same float: %.9g, with a decimal
// point so Turtle reads a decimal rather than an integer.
std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    std::string s = text;
    if (s.find_first_of(".en") == std::string::npos)
        s += ".0";
    return s;
}

// A Turtle string literal: quotes and backslashes escaped.
std::string literal(const std::string& text)
{
    std::string s = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            s += '\\';
        s += c;
    }
    return s + "\"";
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string uri(const std::string& suffix = "")
{
    return "<" + std::string(kLv2PluginUri) + suffix + ">";
}

std::string presetUri(int32_t program)
{
    return uri("#program" + std::to_string(program));
}

struct Effect {
    ZeltoBass fx{nullptr};

    std::string parameterName(int32_t index)
    {
        char text[kHostTextSize] = {};
        fx.getParameterName(index, text);
        return trimmed(text);
    }
    std::string programName(int32_t index)
    {
        char text[kHostTextSize] = {};
        fx.getProgramNameIndexed(0, index, text);
        return trimmed(text);
    }
    // The values the effect holds for a program, as setProgram applies them.
    float programValue(int32_t program, int32_t parameter)
    {
        fx.setProgram(program);
        return fx.getParameter(parameter);
    }
    std::string text(bool (ZeltoBass::*get)(char*))
    {
        char text[kHostTextSize] = {};
        (fx.*get)(text);
        return trimmed(text);
    }
};

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "lv2-ttl: %s\n", message.c_str());
    std::exit(1);
}

void write(const std::string& path, const std::string& content)
{
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f || std::fwrite(content.data(), 1, content.size(), f) != content.size() ||
        std::fclose(f) != 0)
        fail("cannot write " + path);
}

const char* kPrefixes = "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                        "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                        "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                        "@prefix pg: <http://lv2plug.in/ns/ext/port-groups#> .\n"
                        "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                        "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n\n";

std::string portText(Effect& e, const Lv2Port& p, uint32_t index, float programZero)
{
    std::string s = "[\n";
    switch (p.kind) {
    case Lv2PortKind::AudioIn: s += "        a lv2:InputPort, lv2:AudioPort ;\n"; break;
    case Lv2PortKind::AudioOut: s += "        a lv2:OutputPort, lv2:AudioPort ;\n"; break;
    case Lv2PortKind::Control:
    case Lv2PortKind::Enabled: s += "        a lv2:InputPort, lv2:ControlPort ;\n"; break;
    }
    const std::string name = p.name ? p.name : e.parameterName(p.parameter);
    s += "        lv2:index " + std::to_string(index) + " ;\n";
    s += "        lv2:symbol " + literal(p.symbol) + " ;\n";
    s += "        lv2:name " + literal(name);
    if (p.group != Lv2Group::None) {
        s += " ;\n        pg:group " + uri(p.group == Lv2Group::Input ? "#in" : "#out");
        s += " ;\n        lv2:designation pg:" + std::string(p.designation);
    }
    if (p.kind == Lv2PortKind::Control) {
        s += " ;\n        lv2:default " + number(programZero);
        s += " ;\n        lv2:minimum " + number(p.minimum);
        s += " ;\n        lv2:maximum " + number(p.maximum);
        s += " ;\n        units:unit units:coef";
    }
    if (p.kind == Lv2PortKind::Enabled) {
        s += " ;\n        lv2:designation lv2:enabled";
        s += " ;\n        lv2:portProperty lv2:toggled, lv2:integer";
        s += " ;\n        lv2:default 1 ;\n        lv2:minimum 0 ;\n        lv2:maximum 1";
    }
    return s + "\n    ]";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        fail("usage: lv2-ttl OUT_DIR MINOR_VERSION MICRO_VERSION");
    const std::string dir = argv[1];
    const int minor = std::atoi(argv[2]);
    const int micro = std::atoi(argv[3]);
    // Where the effect caps a value, the cap must be the table's top. A
    // probe of its own, as a value set changes the current program.
    {
        Effect probe;
        for (uint32_t i = kFirstLv2Control; i < kFirstLv2Control + kNumLv2Controls; ++i) {
            const Lv2Port& p = kLv2Ports[i];
            probe.fx.setParameter(p.parameter, 2.0f);
            const float top = probe.fx.getParameter(p.parameter);
            if (top != 2.0f && top != p.maximum)
                fail(std::string("the port table's top for ") + p.symbol + " is " +
                     number(p.maximum) + ", the effect caps at " + number(top));
        }
    }
    Effect e;

    std::string manifest = kPrefixes;
    manifest += uri() + "\n    a lv2:Plugin ;\n    lv2:binary <" + kLv2BinaryName +
                "> ;\n    rdfs:seeAlso <WobrixFree.ttl> .\n";
    std::string presets = kPrefixes;
    for (int32_t program = 0; program < kNumPrograms; ++program) {
        manifest += "\n" + presetUri(program) + "\n    a pset:Preset ;\n    lv2:appliesTo " +
                    uri() + " ;\n    rdfs:seeAlso <presets.ttl> .\n";
        presets += presetUri(program) + "\n    a pset:Preset ;\n    lv2:appliesTo " + uri() +
                   " ;\n    rdfs:label " + literal(e.programName(program)) +
                   " ;\n    rdfs:comment \"Factory preset: the effect's program " +
                   std::to_string(program) + ".\" ;\n    lv2:port ";
        for (uint32_t i = kFirstLv2Control; i < kFirstLv2Control + kNumLv2Controls; ++i) {
            const Lv2Port& p = kLv2Ports[i];
            presets += std::string(i == kFirstLv2Control ? "" : " ,\n        ") +
                       "[\n        lv2:symbol " + literal(p.symbol) + " ;\n        pset:value " +
                       number(e.programValue(program, p.parameter)) + "\n    ]";
        }
        presets += " .\n\n";
    }

    std::string plugin = kPrefixes;
    plugin += uri("#in") + "\n    a pg:StereoGroup, pg:InputGroup ;\n    lv2:name \"Input\" ;\n"
                           "    lv2:symbol \"in\" .\n\n";
    plugin += uri("#out") +
              "\n    a pg:StereoGroup, pg:OutputGroup ;\n    lv2:name \"Output\" ;\n"
              "    lv2:symbol \"out\" ;\n    pg:source " +
              uri("#in") + " .\n\n";
    plugin += uri() + "\n    a lv2:Plugin, doap:Project, lv2:DistortionPlugin ;\n";
    plugin += "    doap:name " + literal(e.text(&ZeltoBass::getEffectName)) + " ;\n";
    plugin += "    doap:maintainer [\n        foaf:name " +
              literal(e.text(&ZeltoBass::getVendorString)) + "\n    ] ;\n";
    plugin += "    lv2:minorVersion " + std::to_string(minor) + " ;\n";
    plugin += "    lv2:microVersion " + std::to_string(micro) + " ;\n";
    plugin += "    lv2:optionalFeature lv2:hardRTCapable ;\n";
    plugin += "    lv2:port ";
    for (uint32_t i = 0; i < kNumLv2Ports; ++i) {
        const Lv2Port& p = kLv2Ports[i];
        const float programZero = p.parameter >= 0 ? e.programValue(0, p.parameter) : 0.0f;
        plugin += (i ? " , " : "") + portText(e, p, i, programZero);
    }
    plugin += " .\n";

    write(dir + "/manifest.ttl", manifest);
    write(dir + "/WobrixFree.ttl", plugin);
    write(dir + "/presets.ttl", presets);
    return 0;
}
