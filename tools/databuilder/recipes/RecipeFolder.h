#pragma once
// The recipes of one kind: every top-level table of every TOML file of a
// folder under data/, by the item's symbol, files in name order. Values
// are read through small helpers that name the recipe and key when a value
// is missing or of the wrong type.

#include "tools/databuilder/TomlSources.h"

#include <toml++/toml.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace databuilder {

struct Recipe {
  std::string mName;
  std::string mSource;  // the file, for messages
  SourceTable mTable;
};

// Every recipe of the folder by symbol; a symbol twice throws BuildError.
// Tables listed in reservedKeys (shared settings) are left out.
std::map<std::string, Recipe> ReadRecipeFolder(const std::filesystem::path& folder,
                                               const std::vector<std::string>& reservedKeys = {});

// The reserved table of that key from the folder's files (the first file
// holding it), or an empty table.
toml::table ReadReservedTable(const std::filesystem::path& folder, const std::string& key);

// Throws BuildError naming the recipe and the first key its maker did not
// read: a misspelt key is an error, never a silent default.
void RequireEveryKeyRead(const Recipe& recipe);

// Typed values of a recipe. Each throws BuildError naming the recipe and
// key when the value is missing (without a fallback) or ill-typed.
double RecipeNumber(const Recipe& recipe, const char* key);
double RecipeNumber(const Recipe& recipe, const char* key, double fallback);
std::string RecipeString(const Recipe& recipe, const char* key);
std::string RecipeString(const Recipe& recipe, const char* key, const std::string& fallback);
bool RecipeFlag(const Recipe& recipe, const char* key, bool fallback);
// An array of numbers of the given length (any length when 0).
std::vector<double> RecipeNumbers(const Recipe& recipe, const char* key, size_t length = 0);
std::vector<double> NumbersOf(const toml::node& node, const std::string& where, size_t length);

}  // namespace databuilder
