# Thin wrapper over the CMake presets.
.PHONY: all run test release asan tsan format clean

all:
	cmake --preset debug && cmake --build --preset debug

run:
	./scripts/run.sh

test:
	./scripts/test.sh

release:
	cmake --preset release && cmake --build --preset release

asan:
	cmake --preset asan && cmake --build --preset asan && ctest --preset asan

tsan:
	cmake --preset tsan && cmake --build --preset tsan && ctest --preset tsan

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
