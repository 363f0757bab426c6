#include "util/ProgramInfo.h"

namespace {

void AssignFromBlock(const VersionBlock& block, const char* key, QByteArray& field)
{
    for (const auto& [name, value] : block) {
        if (name == key && !value.isEmpty()) {
            field = value;
            return;
        }
    }
}

} // namespace

ProgramInfo ReadProgramInfo(const VersionBlock& block)
{
    ProgramInfo info;
    AssignFromBlock(block, "ProductName", info.productName);
    AssignFromBlock(block, "InternalName", info.internalName);
    AssignFromBlock(block, "ProductVersion", info.productVersion);
    AssignFromBlock(block, "PrivateBuild", info.privateBuild);
    AssignFromBlock(block, "FileDescription", info.fileDescription);
    AssignFromBlock(block, "LegalCopyright", info.legalCopyright);
    AssignFromBlock(block, "LegalTrademarks", info.legalTrademarks);
    return info;
}

const ProgramInfo& CurrentProgramInfo()
{
    static const ProgramInfo info = ReadProgramInfo();
    return info;
}
