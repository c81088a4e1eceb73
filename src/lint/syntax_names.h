// The check judges the texts as the description reader reads them: these
// are the reader's names that it uses throughout.
#pragma once

#include "syntax/keywords.h"
#include "syntax/line_reading.h"
#include "syntax/number_token.h"
#include "syntax/text_lines.h"

namespace scenariogen::lint {

using syntax::AssumedStart;
using syntax::Field;
using syntax::FieldUse;
using syntax::Intent;
using syntax::Keyword;
using syntax::KeywordReading;
using syntax::KeywordShape;
using syntax::LineReading;
using syntax::LineSink;
using syntax::ReadingSummary;
using syntax::Section;
using syntax::Span;
using syntax::Storage;
using syntax::Use;
using syntax::ValueShape;

using syntax::file_of;
using syntax::intended_keyword;
using syntax::keywords_tested;
using syntax::kMaxFieldsPerLine;
using syntax::normalised;
using syntax::shape;
using syntax::spellings;
using syntax::value_list;

}  // namespace scenariogen::lint
