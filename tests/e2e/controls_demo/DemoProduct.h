#pragma once
// The product the demonstration runs on: a temporary product folder written with the test-data
// builders (executable folder with its alias file, configuration folder with the configuration record
// and the table screens), loaded as the product's environment.
#include "framework/runtime/AnsiString.h"
#include "tests/support/GridScreenBuilder.h"

// The stored screen number the demonstration's table shows.
constexpr int DemoScreenNumber = 3;

// The table screen: two fixed header rows (a title span across the table and the column heads), a
// fixed column of row numbers, a column of labels that cannot be edited, a column of values with
// a cell of every edit kind, a note column, a span of three rows with an image and two fonts, and
// enough rows below to scroll the span under the fixed rows in a table as tall as the form. The
// captions have a Ukrainian and a Russian text (lists 0 and 1), the values one text in both.
testdata::GridScreenBuilder DemoScreen();

// Rows of the demonstration screen, for the program and the scenarios alike.
namespace DemoRow {
constexpr int Title = 0, Heads = 1, Number = 2, Signed = 3, Decimal = 4, RichText = 5, LongText = 6, Fraction = 7,
              Date = 8, List = 9, Buttons = 10, Span = 11, SpanEnd = 13, FirstPlain = 14, Count = 48;
}
namespace DemoCol {
constexpr int Numbers = 0, Labels = 1, Values = 2, Notes = 3, Count = 4;
}

// Writes the product under `root` (with trailing "\"): EXE\qmt.exe, EXE\alias.qmt, Cfg\CFG.QMT,
// Cfg\Riza.sfr, the two classifier files the environment expects, and an errors file for the file
// viewer. Throws on failure.
void WriteDemoProduct(const AnsiString &root);
// The errors file the viewer shows, and one that is never written.
AnsiString DemoErrorsFile(const AnsiString &root);
AnsiString DemoMissingFile(const AnsiString &root);

// Loads the product's environment (the configuration record, the alias lists) and the table colours;
// false when the product is incomplete (the user has been told).
bool LoadDemoEnvironment(const AnsiString &root);
