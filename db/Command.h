#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/StatementText.h"
#include "runtime/Value.h"

namespace db {

class Connection;

struct Param {
  std::string name;
  runtime::FieldType type = runtime::FieldType::Unknown;
  runtime::Value value;
};

// The literal the server receives for a value of a field type; the inside of a quoted
// text literal comes from escapeText. Null or empty gives NULL. Throws runtime::Failure
// for a value the type cannot carry (e.g. a text that is no number for an integer).
// Integer also takes a whole Currency and a decimal text, Currency an integer and a plain
// decimal text; Date only a date; text types take any value as its plain text.
std::string Literal(runtime::FieldType type, const runtime::Value& value,
                    const std::function<std::string(std::string_view)>& escapeText);

// Exact decimal, "." separator, no trailing zeros: 105000 ticks is "10.5", -5 is "-0.0005".
std::string CurrencyLiteral(runtime::Currency value);

// A statement with named parameters, executed over the ordinary text protocol.
class Command {
 public:
  Command(Connection& connection, std::string text);
  // A text whose placeholders were already found, shared with the commands before it.
  // Throws db::Error for a null statement.
  Command(Connection& connection, std::shared_ptr<const StatementText> statement);

  // One per placeholder, in text order.
  std::vector<Param> Params() const;

  // Each given parameter sets the first parameter of the same name (case ignored);
  // names not in the text are ignored.
  void AssignParams(const std::vector<Param>& given);

  // The text as sent: trailing bytes 0..32 dropped, placeholders replaced by literals.
  std::string RenderedText() const;

  // Sends RenderedText(). Throws db::Error with the server's or the client's message.
  void Execute();

  int64_t AffectedRows() const noexcept { return affected_; }

 private:
  // What a placeholder receives; its name is the statement's.
  struct Argument {
    runtime::FieldType type = runtime::FieldType::Unknown;
    runtime::Value value;
  };

  Connection* connection_;
  std::shared_ptr<const StatementText> statement_;
  std::vector<Argument> arguments_;
  int64_t affected_ = 0;
};

}  // namespace db
