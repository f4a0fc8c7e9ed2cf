#pragma once

#include "firmware/BankImages.h"

#include <QByteArray>
#include <QString>

class Prompts;

// The bank source text: bank 1 as a constant array in its own segment, 16 items per line, CR LF
// after every line; always 117824 bytes.
QByteArray bankSourceText(const BankImage& bank);

// Writes bank1.bin ... bank5.bin, 16384 bytes each, into `binFolder`. A file that cannot be
// written is skipped without a message and the others are still attempted; returns how many
// were written, and sets `firstFailure`, when given, to a message naming the first file that
// failed and the reason.
int writeBankFiles(const QString& binFolder, const BankImages& banks,
                   QString* firstFailure = nullptr);

// Saves bankg.c into `binFolder`; on failure shows a message naming the file and the reason.
bool writeBankSource(const QString& binFolder, const BankImage& bank, Prompts& prompts);

// The steps of a device update before the wizard opens: build the bank from the project files,
// write the bank files, write the bank source text. True when the wizard may open.
bool prepareBanksForUpdate(const QString& projectFolder, BankImages& banks, Prompts& prompts);
