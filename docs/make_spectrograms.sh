#!/usr/bin/env bash
# Spectrograms of one sentence per recorded-speaker voice: the model (top) and the same voice's
# formant description (bottom), as docs/spectrogram-<voice>.png. Needs a build (build/bin/) and sox.
#   docs/make_spectrograms.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
say="${1:-build}/bin/kotonel-say"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp -r dll "$tmp/model"
cp -r dll "$tmp/formant"
sed -i '/^model/d' "$tmp"/formant/*/voice.txt  # without a model a voice speaks with its formants
sentence="きょ'ーわ/いい'/てんきですね、さんぽに/いきましょ'ーか？"
for pair in 0:f1:mei_normal 1:f2:mei_normal 2:m1:nitech_jp_atr503_m001 3:m2:nitech_jp_atr503_m001; do
  IFS=: read -r number voice model <<<"$pair"
  for kind in model formant; do
    "$say" --dict "$tmp/$kind/" -m phonetic -t "$number" -o "$tmp/$voice-$kind.wav" "$sentence"
  done
  sox -M "$tmp/$voice-model.wav" "$tmp/$voice-formant.wav" "$tmp/$voice-both.wav"
  sox "$tmp/$voice-both.wav" -n spectrogram -x 900 -y 257 -z 90 \
    -t "$voice: $model model (top), formant synthesizer (bottom)" -c "8000 Hz" \
    -o "docs/spectrogram-$voice.png"
done
