#pragma once

// Project files and .xcconfig files shaped as a hostile repository could shape them, for the
// tests and the benchmark of the project readers.

#include <QByteArray>

namespace HostileProjects {

// Lines "SETTING_<n> = …" up to about `bytes` bytes.
inline QByteArray definitions(qsizetype bytes)
{
    QByteArray text;
    text.reserve(bytes + 64);
    for (int n = 0; text.size() < bytes; ++n)
        text += "SETTING_" + QByteArray::number(n) + " = value of setting number " + QByteArray::number(n) + "\n";
    return text;
}

// Lines "#include? "Missing<n>.xcconfig"" up to about `bytes` bytes.
inline QByteArray optionalIncludes(qsizetype bytes)
{
    QByteArray text;
    text.reserve(bytes + 64);
    for (int n = 0; text.size() < bytes; ++n)
        text += "#include? \"Missing" + QByteArray::number(n) + ".xcconfig\"\n";
    return text;
}

// An application target "Hostile" and the project, each with `configurations` configurations
// ("Config0" …, the first the default) based on "Config/Base.xcconfig", none of which sets a
// bundle identifier.
inline QByteArray projectFile(int configurations)
{
    QByteArray targetList;
    QByteArray projectList;
    QByteArray objects;
    for (int n = 0; n < configurations; ++n) {
        const QByteArray name = "Config" + QByteArray::number(n);
        for (const char *level : {"A", "B"}) {
            const QByteArray id = level + QByteArray::number(n);
            objects += "\t\t" + id + " = {isa = XCBuildConfiguration; baseConfigurationReference = F1; "
                       "buildSettings = { SDKROOT = iphoneos; }; name = " + name + "; };\n";
            (level[0] == 'A' ? targetList : projectList) += id + ", ";
        }
    }
    return "// !$*UTF8*$!\n{\n\tarchiveVersion = 1;\n\tobjectVersion = 56;\n\tobjects = {\n"
           "\t\tF1 = {isa = PBXFileReference; path = Config/Base.xcconfig; sourceTree = SOURCE_ROOT; };\n"
           "\t\tG1 = {isa = PBXGroup; children = (F1, ); sourceTree = \"<group>\"; };\n"
           "\t\tT1 = {isa = PBXNativeTarget; buildConfigurationList = L1; name = Hostile; productName = Hostile; "
           "productType = \"com.apple.product-type.application\"; };\n"
           "\t\tP1 = {isa = PBXProject; buildConfigurationList = L2; mainGroup = G1; targets = (T1, ); };\n"
        + objects
        + "\t\tL1 = {isa = XCConfigurationList; buildConfigurations = (" + targetList
        + "); defaultConfigurationName = Config0; };\n"
          "\t\tL2 = {isa = XCConfigurationList; buildConfigurations = (" + projectList
        + "); defaultConfigurationName = Config0; };\n"
          "\t};\n\trootObject = P1;\n}\n";
}

} // namespace HostileProjects
