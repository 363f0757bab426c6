#pragma once

#include <QByteArray>

#include <cstdint>

// The web browser that Browser Preview starts, as this run found it. The application reads it at
// start-up, when CLASSPATH becomes the program's, and writes the two settings back at exit as
// they were read, over anything set meanwhile: no page edits them, and the settings store would
// otherwise have rewritten the command's commas and quotes in its own form.
struct ExternalBrowser
{
    // "Options/Browser": the command line (empty: the desktop's own browser), kept as typed into
    // the settings file.
    QByteArray command;
    // "Options/BrowserLocal": 1 hands the browser the page's bare name in the preview folder, 0
    // its address on the preview server.
    std::int32_t local = 0;
    // CLASSPATH as the user had it, which the browser inherits in place of the program's.
    QByteArray userClassPath;

    // The two settings as stored, and CLASSPATH as it is now.
    static ExternalBrowser AtStartUp();
    // Stores the two settings; after any other setting, so that the command stays as typed.
    void WriteSettings() const;
};
