#pragma once

#include <QByteArray>

// The CLASSPATH environment variable, which the program changes so that a Java runtime in its own
// process finds the applet class beside the program, and which it hands back unchanged to
// external browsers and at exit.

// The variable's value now; empty when it is not set.
QByteArray CurrentClassPath();

// Sets the variable for this process and the programs it starts; an empty value removes it.
void SetClassPath(const QByteArray& value);

// The class path while the program runs: programDirectory, then the platform's list separator and
// startupClassPath when that is not empty.
QByteArray ClassPathForProgram(
    const QByteArray& programDirectory, const QByteArray& startupClassPath);
