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
.legend { list-style: none; display: flex; flex-wrap: wrap; gap: .1rem 1.1rem; padding: 0;
  margin: 0 0 .3rem; font-size: .85rem; }
.legend svg { height: 1.1em; width: auto; vertical-align: -.25em; margin-right: .2em; }
.plan-view { overflow: auto; max-height: 85vh; border: 1px solid #999;
  container-type: inline-size; }
/* As wide as the box and as tall as the plan's height allows, so that only
   a plan that cannot shrink further scrolls. */
.plan-canvas { width: max-content;
  --shown: max(var(--readable), min(var(--full), 100cqw, 85vh * var(--aspect))); }
.plan-view svg { display: block; width: var(--shown); height: auto; }
.compass { position: sticky; top: 0; right: 0; width: max-content; height: 0; margin-left: auto;
  z-index: 1; }
.compass > span { display: inline-block; vertical-align: top; background: #fffd;
  font-size: .8rem; line-height: 1.1; padding: .3rem .4rem; }
.compass .scale { padding-right: 1.6rem; }
.compass .bar { display: block; box-sizing: border-box; height: .45rem; margin-bottom: .15rem;
  width: calc(var(--shown) * 50 / var(--feet)); border: 1px solid #000;
  background: repeating-linear-gradient(90deg, #000 0 20%, #fff 20% 40%); }
.compass .far { float: right; margin-right: -1.4rem; }
.compass .north { font-weight: bold; text-align: center; padding-left: 0; }
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
.plan-view g[id] { scroll-margin: 3.5rem 1rem 1rem; }
.plan-view g:target .walls { fill: #fff4d6; stroke-width: 3; }
@page { margin: 12mm; }
@media print {
  body { font-size: 9.5pt; line-height: 1.3; max-width: none; padding: 0; }
  a { color: inherit; text-decoration: none; }
  .back { display: none; }
  /* The players' book is the plans alone, a level a page. */
  .player > header { display: none; }
  .notice { background: none; }
  .level { break-before: page; border: 0; margin: 0; }
  h2 { margin-top: 0; }
  h2, h3, .level-line, figcaption { break-after: avoid; }
  figcaption { break-inside: avoid; }
  .plan-view { overflow: visible; max-height: none; border: 0; }
  .plan-canvas { --shown: var(--print); }
  .plan.tiled .plan-view { display: none; }
  .plan.tiled .plan-tiles { display: block; }
  .overview, .tile { break-inside: avoid; }
  .tile.apart { break-before: page; }
  .overview p, .tile p { margin: 0 0 1mm; font-size: 8pt; }
  .overview svg, .tile svg { display: block; }
  .key { display: block; columns: 2; column-gap: 7mm; }
  .entry { break-inside: avoid; border: 0; border-bottom: .5pt solid #999; border-radius: 0;
    padding: 1mm 0 1.5mm; margin: 0 0 1.5mm; }
  .entry.unexplored { border-bottom-style: dashed; }
  .entry:target { outline: 0; background: none; }
}
)css";

}  // namespace atlas
