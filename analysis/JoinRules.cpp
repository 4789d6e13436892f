#include "analysis/JoinRules.h"
#include "analysis/dictionary_file.h"

#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/lists.h"
#include "util/strings.h"

namespace kotonel {

namespace {

JoinRules::Field ParseField(const std::u32string& text) {
  JoinRules::Field field;
  if (text.empty()) return field;
  if (text[0] >= U'0' && text[0] <= U'9') field.kind = static_cast<int32_t>(text[0] - U'0');
  field.list = text.substr(1);
  return field;
}

// The list names c when a comma is immediately followed by c.
bool ListNames(const std::u32string& list, char32_t c) {
  for (size_t i = 0; i + 1 < list.size(); ++i)
    if (list[i] == U',' && list[i + 1] == c) return true;
  return false;
}

bool FieldMatches(const JoinRules::Field& field, const JoinSlot& slot) {
  if (field.kind != slot.kind) return false;
  if (field.list.empty()) return true;
  return slot.character != 0 && ListNames(field.list, slot.character);
}

}  // namespace

JoinRules::Rule JoinRules::ParseRule(const std::vector<std::u32string>& fields) {
  Rule rule;
  for (size_t i = 0; i < 3 && i < fields.size(); ++i) rule.fields[i] = ParseField(fields[i]);
  rule.twoColumn = fields.size() < 3 || fields[2].empty();
  return rule;
}

void JoinRules::Load(const std::string& path) {
  // Like a missing file, a folder of that name holds no rules.
  if (!FileExists(path) || IsDirectory(path)) return;
  ReadDictionaryLines(path, kMessage, 3, [&](const std::u32string&, auto& fields) {
    rules_.push_back(ParseRule(fields));
  });
}

bool JoinRules::Apply(const JoinSlot& previous, JoinSlot& current, const JoinSlot& next) const {
  for (const auto& rule : rules_) {
    bool matched;
    int32_t kind;
    if (rule.twoColumn) {
      matched = FieldMatches(rule.fields[0], current) && FieldMatches(rule.fields[1], next);
      kind = rule.fields[1].kind;
    } else {
      matched = FieldMatches(rule.fields[0], previous) && FieldMatches(rule.fields[1], current) &&
                FieldMatches(rule.fields[2], next);
      kind = rule.fields[2].kind;
    }
    if (matched) {
      current.kind = kind;
      return true;
    }
  }
  return false;
}

}  // namespace kotonel
