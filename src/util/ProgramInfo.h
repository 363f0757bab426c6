#pragma once

#include <QByteArray>

#include <utility>
#include <vector>

// A key/value block of program information compiled into the executable, with the keys of a
// version resource (ProductName, InternalName, ProductVersion, PrivateBuild, FileDescription,
// LegalCopyright, LegalTrademarks, FileVersion).
using VersionBlock = std::vector<std::pair<QByteArray, QByteArray>>;

// The block compiled into this program.
const VersionBlock& ProgramVersionBlock();

// The program's name, version and notices as the rest of the program uses them.
// A key that the block lacks (or holds empty) leaves its field empty.
struct ProgramInfo
{
    QByteArray productName;
    QByteArray internalName;
    QByteArray productVersion;
    QByteArray privateBuild;
    QByteArray fileDescription;
    QByteArray legalCopyright;
    QByteArray legalTrademarks;
};

// Reads the seven fields out of a block; the one way the program learns about itself.
ProgramInfo ReadProgramInfo(const VersionBlock& block = ProgramVersionBlock());

// The information of this program, read once on first use.
const ProgramInfo& CurrentProgramInfo();
