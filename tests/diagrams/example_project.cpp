#include "tests/diagrams/example_project.h"

#include "core/files/project_file.h"
#include "core/records/documentation.h"

namespace zam1::test {

bool ExampleState::load(const std::string& path) {
    startDocumentation(state->documentation, dateText(clock.now(), state->config.dateCode));
    state->error.clear();
    return readProjectFile(*state, path);
}

} // namespace zam1::test
