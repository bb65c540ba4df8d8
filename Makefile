# make play  - set up, build and play the demo project (PROJECT=path for another)
# make test  - set up, build and run every test
BUILD ?= build
# The demo project, generated from its description into the build tree.
DEMO = $(BUILD)/demo/demo.crt
PROJECT ?= $(DEMO)
JOBS ?= $(shell nproc)
export BUILD
# The sanitizer trees (native, fuzz) at -O1 with line tables (-g1), all
# their reports need for file and line, at three quarters of the compile
# time of full debug information; the winelib tree at -O2 without it, which
# costs a third of its compile time. native and demo configure one tree:
# the same flags.
NATIVE_TYPE = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
WINE_TYPE = -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG"

.PHONY: all deps build native wine fuzz test play demo clean

all: build

deps:
	@bash scripts/setup-deps.sh

native: deps
	@cmake -S . -B $(BUILD)/native $(NATIVE_TYPE) >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

wine: deps
	@cmake -S . -B $(BUILD)/wine -DCMAKE_TOOLCHAIN_FILE=cmake/wine-toolchain.cmake $(WINE_TYPE) >/dev/null
	@cmake --build $(BUILD)/wine -j $(JOBS)

fuzz: deps
	@cmake -S . -B $(BUILD)/fuzz $(NATIVE_TYPE) -DTSL_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)

build: native wine fuzz

test: build demo
	@bash scripts/run-tests.sh

demo: deps
	@cmake -S . -B $(BUILD)/native $(NATIVE_TYPE) >/dev/null
	@cmake --build $(BUILD)/native --target tslmake setupmake animmake -j $(JOBS)
	@mkdir -p $(BUILD)/demo/install
	@$(BUILD)/native/tslmake examples/demo/demo.tsd $(DEMO)
	@$(BUILD)/native/tslmake --db examples/demo/demo.tdb $(BUILD)/demo/demo
	@$(BUILD)/native/tslmake --db examples/demo/demo_orte.tdb $(BUILD)/demo/demo_orte
	@ffmpeg -y -loglevel error -f lavfi -i testsrc=duration=4:size=160x120:rate=10 -an -c:v msvideo1 $(BUILD)/demo/demo_clip.avi
	@sox -n -r 22050 -c 1 -b 16 $(BUILD)/demo/demo_tone.wav synth 1 sine 440
	@python3 -c "import struct,sys; b=bytes([0,0,12])+struct.pack('<H',48)+bytes(2); open(sys.argv[1],'wb').write(b'FWS\x06'+struct.pack('<I',8+len(b))+b)" $(BUILD)/demo/demo_movie.swf
	@mkdir -p $(BUILD)/demo/dias
	@for c in red:rot green:gruen blue:blau orange:orange purple:lila; do \
	  convert -size 320x240 gradient:$${c%%:*}-white $(BUILD)/demo/dias/$${c##*:}.jpg; done
	@$(BUILD)/native/tslmake --dia $(BUILD)/demo/dias/demo.dia '<CURRENTPROJECTDIR>dias\rot.jpg' '<CURRENTPROJECTDIR>dias\blau.jpg'
	@$(BUILD)/native/setupmake examples/demo/install.tis $(BUILD)/demo/install/demo.ins
	@sh tools/demofiles.sh $(BUILD)/demo
	@$(BUILD)/native/animmake flc $(BUILD)/demo/anim.flc 160 120 10 120
	@$(BUILD)/native/animmake abp $(BUILD)/demo/anim.abp 120 60 6 150
	@$(BUILD)/native/animmake container $(BUILD)/demo/dias.bmc Eins Zwei Drei
	@convert -delay 100 -loop 2 -size 100x60 xc:red xc:lime xc:blue $(BUILD)/demo/anim.gif
	@convert -size 160x120 gradient:red-yellow bmp3:$(BUILD)/demo/drucken.bmp
	@python3 tools/rtfsample.py $(BUILD)/demo/drucken.rtf
	@for i in $$(seq 1 120); do printf 'Zeile %d: ein Text, der auf mehreren Seiten gedruckt wird.\r\n' $$i; done > $(BUILD)/demo/drucken.txt
	@python3 tools/rtfsample.py --short 'Dokument eins' $(BUILD)/demo/dokument1.rtf \
	  Weiterlesen 'LOADRTF=<CURRENTPROJECTDIR>dokument2.rtf' Zurückblättern NAVIGATE=BACK \
	  Vorblättern NAVIGATE=FORWARD 'Zur Startseite' GOTOPAGE=Willkommen
	@python3 tools/rtfsample.py --short 'Dokument zwei' $(BUILD)/demo/dokument2.rtf Zurückblättern NAVIGATE=BACK
	@python3 tools/rtfsample.py $(BUILD)/demo/dokument3.rtf GOTOPAGE=Willkommen
	@printf 'Eine reine Textdatei in einem Eingabefeld.\r\nIhre zweite Zeile.\r\n' > $(BUILD)/demo/dokument.txt

play: wine demo
	@bash scripts/play.sh "$(PROJECT)"

clean:
	rm -rf $(BUILD)

# Benchmarks: an optimised native tree without sanitizers.
.PHONY: bench
bench: deps
	@cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DTSL_SANITIZE=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS)
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true
