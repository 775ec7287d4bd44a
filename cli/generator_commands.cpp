// random and mutate: the random generator's Go and the mutator's Mutate as batch commands.
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "cli/cli_common.h"
#include "cli/cli_prompt.h"
#include "cli/generator_options.h"
#include "engine/definition.h"
#include "engine/text_helpers.h"
#include "generators/mutator.h"
#include "generators/random_generator.h"
#include "generators/text_positions.h"

namespace verdel::cli {

namespace {

struct TGeneratorOptions {
    std::optional<uint32_t> Seed;
    std::vector<std::string> Bars;  // NAME=V
    std::vector<std::string> Locks; // NAME=VALUE
    std::string Input;
    std::string Output;
    int Times = 1;
};

// Locks each --lock NAME=VALUE; numbers go through the edit's range check.
bool ApplyLocks(TRandomGenerator& generator, const std::vector<std::string>& settings)
{
    for (const std::string& setting : settings) {
        std::string name, text;
        if (!SplitSetting("--lock", setting, name, text)) return false;
        int lock = 0;
        while (lock < RandomLockCount && name != RandomLocks[lock].Name) ++lock;
        if (lock == RandomLockCount) {
            std::cerr << "Unknown lock '" << name << "'; locks: iterations, angle, thickness, rules, axiom\n";
            return false;
        }
        generator.Locks[lock] = {true, text};
        if (const std::optional<std::string> fault = generator.CheckEdit(static_cast<TRandomLock>(lock))) {
            std::cerr << Plain(*fault) << '\n';
            return false;
        }
    }
    return true;
}

int RunRandom(const TGeneratorOptions& options)
{
    const uint32_t seed = options.Seed.value_or(SeedFromTimeOfDay());
    TRandomGenerator generator(RandomSource, seed);
    const bool barsOk = ApplyBars(RandomBars, options.Bars, [&](int bar, int value) {
        generator.SetPosition(static_cast<TRandomBar>(bar), value);
    });
    if (!barsOk || !ApplyLocks(generator, options.Locks)) return ExitUsage;

    std::cerr << "seed: " << seed << '\n';
    if (const std::optional<std::string> fault = generator.Go()) {
        std::cerr << Plain(*fault) << '\n';
        return ExitUsage;
    }
    if (const int status = WriteText(generator.Memo, options.Output); status != ExitDone) return status;

    // A locked axiom is taken as typed and may make the text unusable.
    std::string errorText;
    if (!ValidateDefinition(generator.Memo, errorText)) {
        std::cerr << "Please Check Input Data\n" << errorText << '\n';
        return ExitInvalid;
    }
    return ExitDone;
}

std::string ChangedKinds(const TDefinitionMutator& mutator)
{
    std::string kinds;
    for (int kind = 0; kind < MutationKindCount; ++kind)
        if (mutator.Changed[kind]) kinds += (kinds.empty() ? "" : ",") + std::string(MutatorBars[kind].Name);
    return kinds;
}

int RunMutate(const TGeneratorOptions& options)
{
    TLines lines;
    if (!LoadLines(options.Input, lines)) return ExitUsage;
    const uint32_t seed = options.Seed.value_or(SeedFromTimeOfDay());
    TDefinitionMutator mutator(RandomSource, seed);
    mutator.Memo = lines;
    const bool barsOk = ApplyBars(MutatorBars, options.Bars, [&](int bar, int value) {
        mutator.SetPosition(static_cast<TMutatorBar>(bar), value);
    });
    if (!barsOk) return ExitUsage;

    std::cerr << "seed: " << seed << '\n';
    for (int k = 0; k < options.Times; ++k) {
        if (const std::optional<std::string> fault = mutator.Mutate()) {
            std::cerr << Plain(*fault) << '\n';
            return ExitInvalid;
        }
        std::cerr << "changed: " << ChangedKinds(mutator) << '\n';
    }
    return WriteText(mutator.Memo, options.Output);
}

void AddCommonOptions(CLI::App* command, TGeneratorOptions& options, const std::string& bars)
{
    command->add_option("--seed", options.Seed, "Seed of the random source (default: the time of day)");
    command->add_option("--bar", options.Bars, "Track bar position NAME=V (" + bars + ")")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("-o,--output", options.Output,
                        "Write the text to this file (CR LF) instead of standard output");
}

} // namespace

void AddGeneratorCommands(CLI::App& App, int& ExitCode)
{
    auto randomOptions = std::make_shared<TGeneratorOptions>();
    CLI::App* random = App.add_subcommand("random", "Compose a random definition (the random generator's Go)");
    AddCommonOptions(random, *randomOptions, BarNames(RandomBars));
    random
        ->add_option("--lock", randomOptions->Locks,
                     "Lock a value NAME=VALUE (iterations, angle, thickness, rules, axiom)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    random->callback([randomOptions, &ExitCode] { ExitCode = RunRandom(*randomOptions); });

    auto mutateOptions = std::make_shared<TGeneratorOptions>();
    CLI::App* mutate = App.add_subcommand("mutate", "Mutate a definition file (the mutator's Mutate, K times)");
    mutate->add_option("FILE", mutateOptions->Input, "Definition file (.vd)")->required();
    AddCommonOptions(mutate, *mutateOptions, BarNames(MutatorBars));
    mutate->add_option("--times", mutateOptions->Times, "Number of Mutates in a row (default 1)")
        ->check(CLI::Range(1, 1000000));
    mutate->callback([mutateOptions, &ExitCode] { ExitCode = RunMutate(*mutateOptions); });
}

} // namespace verdel::cli
