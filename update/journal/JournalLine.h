#pragma once
// Lines of the run's protocol and of the rollback journal: the numbered protocol texts, the journal
// line formats, the command codes and the ten-digit line signature. Everything here works on code
// page 1251 bytes and holds no state.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/runtime/AnsiString.h"

// Number of entries of the protocol-text table (indexes 0 to 26).
constexpr int ProtocolTextCount = 27;

// Protocol-text indexes named by the steps that use them.
enum EProtText : int8_t {
    ept_Plain = 0,
    ept_Ok = 1,
    ept_Failed = 2,
    ept_ErrorNo = 3,
    ept_Cancelled = 4,
    ept_Compare = 5,
    ept_Restore = 6,
    ept_Unpack = 7,
    ept_Copy = 8,
    ept_Backup = 9,
    ept_Compress = 10,
    ept_DeleteFile = 11,
    ept_DeleteFolder = 12,
    ept_Move = 13,
    ept_Undo = 14,
    ept_JournalScan = 15,
    ept_JournalDamaged = 16,
    ept_Skip = 17,
    ept_Unscramble = 18,
    ept_Rescramble = 19,
    ept_Checksum = 20,
    ept_ChecksumCompare = 21,
    ept_Patch = 22,
    ept_WrongEdition = 23,
    ept_ItemList = 24,
    ept_ConfigChange = 25,
    ept_Exception = 26,
};

// Table text of a protocol index; an index outside the table gives the empty text.
const char *ProtocolText(int index);

// The table text, one blank and the caller's text: the line as the protocol list shows it.
AnsiString ProtocolLine(int index, const AnsiString &text);

// Command codes of the journal: what each command line records so that rollback can undo it.
enum EJournalCmd : int32_t {
    ejc_CopyFolder = 1,  // folder of the new copy of the installation
    ejc_Variant = 2,     // update variant ("1": a copy of the installation)
    // The product folder the run works on, right after its start: a journal copied or moved with its
    // installation is told from the one it was written for. Rollback reads nothing from it.
    ejc_ProductFolder = 3,
    ejc_Start = 4,       // "Запуск": the run's start
    ejc_End = 5,         // "Конец": the run's end
    ejc_Backup = 6,      // source + "<" + backup + checksum + size of the backup
    ejc_TempFolder = 8,  // the temporary folder
    ejc_Created = 9,     // "z<" + created path + checksum + size
};

// Commands that record a change to the installation or its surroundings: a run must not make the
// change when such a command could not be journaled, because rollback could not undo it.
bool IsChangeCommand(int code);

// Texts of the start and end commands.
extern const char *const JournalStartText;
extern const char *const JournalEndText;
// Text of the variant command a rollback writes right before the end line it gives the journal: the
// run's changes are undone, no update variant stands (rollback reads it as variant -1).
extern const char *const RolledBackVariantText;

// The list item added when a journal line cannot be written; the exception's message and a blank follow.
extern const char *const JournalWriteFailedText;

// Date format of journal lines ("dd.mm.yy hh:nn:ss.zzz", local time).
extern const char *const JournalDateFormat;

// "; " + date + protocol line, signed.
AnsiString JournalProtocolLine(const AnsiString &date, const AnsiString &protocolLine);
// "> " + date + "*" + code + "#" + text, signed.
AnsiString JournalCommandLine(const AnsiString &date, int code, const AnsiString &text);

// Signature of a line's bytes: h := 0; per unsigned byte b, t := h + b, h := t - rotl32(t, 13).
uint32_t LineHash(const char *bytes, size_t length);
// Appends the ten-digit signature of the whole line.
void SignLine(AnsiString &line);
// True when the line ends in exactly ten decimal digits whose value (low 32 bits) is the hash of
// everything before them.
bool VerifyLine(const AnsiString &line);
// Removes the last ten characters when the line has at least ten.
bool StripSignature(AnsiString &line);

// The journal file's non-empty lines in order (lines end in CR LF; a lone CR or LF ends one too).
std::vector<AnsiString> SplitJournalLines(std::string_view content);

// True for a command line (its first character is ">").
bool IsCommandLine(const AnsiString &line);

// Code and text of a command line whose signature is already removed: the code is the decimal number
// between the first "*" and the first "#" after it, the text everything after that "#". False when
// the line has no "*", no "#" after it, or no number between them.
bool ParseCommandLine(const AnsiString &line, int &code, AnsiString &text);
