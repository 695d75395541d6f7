// SPDX-License-Identifier: MIT
#include "atlas/book/style.h"

namespace atlas {

const std::string_view kBookStyle = R"css(
:root { color-scheme: light; }
body { font: 16px/1.45 "DejaVu Sans", system-ui, sans-serif; color: #111; background: #fff;
  max-width: 75rem; margin: 0 auto; padding: 0 1rem 3rem; }
a { color: #0645ad; }
a:focus-visible { outline: 3px solid #111; outline-offset: 2px; }
header { padding-bottom: .5rem; }
h1 { font-size: 1.8rem; margin: 1rem 0 .25rem; }
.seed-line { margin: 0 0 .5rem; }
.notice { border: 2px solid #111; border-left-width: .6rem; padding: .5rem .75rem;
  background: #fff4d6; margin: .75rem 0; }
.totals { display: flex; flex-wrap: wrap; gap: .25rem 1.75rem; margin: .5rem 0; }
.totals div { display: flex; gap: .4rem; }
.totals dd { margin: 0; font-weight: bold; }
nav ul { list-style: none; display: flex; flex-wrap: wrap; gap: .25rem 1.25rem;
  padding: 0; margin: .5rem 0; }
.level { border-top: 1px solid #777; margin-top: 2rem; }
h2 { font-size: 1.5rem; margin: 1rem 0 .1rem; }
.level-line { margin: 0 0 .5rem; }
.plan { margin: .5rem 0 1.5rem; }
.plan figcaption { font-size: .9rem; margin-bottom: .3rem; }
.plan-view { overflow: auto; max-height: 85vh; border: 1px solid #999; }
.plan-view svg { display: block; max-width: 100%; height: auto; min-width: var(--readable); }
.plan-view g:target .walls { fill: #fff4d6; stroke-width: 3; }
.plan-tiles { display: none; }
.key { display: grid; grid-template-columns: repeat(auto-fill, minmax(19rem, 1fr));
  gap: .75rem 1.25rem; align-items: start; }
.entry { border: 1px solid #aaa; border-radius: 4px; padding: .4rem .7rem .5rem;
  scroll-margin-top: 1rem; }
.entry:target { outline: 4px double #111; outline-offset: 2px; background: #fff4d6; }
.entry.unexplored { border-style: dashed; }
h3 { font-size: 1.05rem; margin: 0; }
.description { font-style: italic; margin: .05rem 0 .3rem; }
.entry ul { margin: .2rem 0; padding-left: 1.2rem; }
.entry ul ul { padding-left: 1rem; }
.contents { border-top: 1px dotted #777; padding-top: .2rem; }
.empty { margin: .2rem 0; color: #444; }
.back { margin: .3rem 0 0; font-size: .85rem; }
@page { margin: 12mm; }
@media print {
  body { font-size: 9.5pt; line-height: 1.3; max-width: none; padding: 0; }
  a { color: inherit; text-decoration: none; }
  .back { display: none; }
  .notice { background: none; }
  .level { break-before: page; border: 0; margin: 0; }
  h2 { margin-top: 0; }
  h2, h3, .level-line, figcaption { break-after: avoid; }
  figcaption { break-inside: avoid; }
  .plan-view { overflow: visible; max-height: none; border: 0; }
  .plan-view svg { max-width: 100%; max-height: 206mm; height: auto; min-width: 0; }
  .plan.tiled .plan-view { display: none; }
  .plan.tiled .plan-tiles { display: block; }
  .tile { break-inside: avoid; margin: 0 0 4mm; }
  .tile p { margin: 0 0 1mm; font-size: 8pt; }
  .tile svg { display: block; border: .5pt solid #777; }
  .key { display: block; columns: 2; column-gap: 7mm; }
  .entry { break-inside: avoid; border: 0; border-bottom: .5pt solid #999; border-radius: 0;
    padding: 1mm 0 1.5mm; margin: 0 0 1.5mm; }
  .entry.unexplored { border-bottom-style: dashed; }
  .entry:target { outline: 0; background: none; }
}
)css";

}  // namespace atlas
