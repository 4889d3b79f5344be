# Convenience targets. The README's two commands are ./run.sh and ./test.sh.
#   make fuzz [FUZZ_SECONDS=60]   build the libFuzzer targets with clang (installed when missing) and run
#                                 each for a bounded time; .ci/run runs them for 20 s each
#   make bench                    build and run the benchmarks, the whole-process check, the batch memory and the window
FUZZ_SECONDS ?= 60
FUZZ_DIR := build-fuzz
FUZZERS := fuzz_filecheck fuzz_zip fuzz_ini fuzz_html fuzz_base64 fuzz_csv fuzz_like fuzz_results_query

.PHONY: fuzz bench test run

test:
	./test.sh

run:
	./run.sh

fuzz:
	scripts/install-deps.sh
	@for p in clang libclang-rt-14-dev; do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  sudo=; [ "$$(id -u)" -ne 0 ] && sudo=sudo; \
	  echo "Installing:$$missing"; \
	  $$sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPHOTOCHECK_FUZZ=ON -DPHOTOCHECK_TESTS=OFF >/dev/null
	cmake --build $(FUZZ_DIR) -j$$(nproc) --target $(FUZZERS) make-fuzz-seeds data-package
	scripts/fuzz-seeds.sh $(FUZZ_DIR)
	@for f in $(FUZZERS); do \
	  echo "== $$f for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/bin/$$f -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/$$f- $(FUZZ_DIR)/corpus/$$f || exit 1; \
	done

bench:
	scripts/install-deps.sh
	BUILD_DIR=build-bench CMAKE_EXTRA="-DPHOTOCHECK_BENCH=ON -DPHOTOCHECK_TESTS=OFF" BUILD_TYPE=Release scripts/build.sh
	build-bench/bin/photocheck-bench
	NO_BUILD=1 BUILD_DIR=build-bench bench/check-processes.sh
	NO_BUILD=1 BUILD_DIR=build-bench bench/batch-memory.sh
	build-bench/bin/photocheck-bench-window
