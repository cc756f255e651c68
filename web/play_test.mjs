// Plays the web build in headless Chromium as a person would, with real (synthetic) mouse
// and key events through the DevTools protocol: answers the start-up question in the
// page's dialog, sees the title, clicks into the play, turns the view with the mouse,
// walks with W, aims the thread at rope 0 and is pulled up to its ledge, frees the pointer
// with Escape (the pause menu opens; a click on Resume, then another captures it again);
// then opens the page again and answers Yes, which puts the canvas in full screen (steps 9
// to 11 on the page kept, offline, a pad, a phone by touch alone). The sound must run, the
// console stay free of errors. Prints the budgets: the page's download gzipped, the time
// from opening the page to the title (also offline), the frame time, the phone's route.
//
// The time to the title is reported, not judged: it depends on the machine's load (a
// benchmark, bench/web_title.sh, takes its median over several openings).
//
// Usage: node play_test.mjs SITE_DIR SHOTS_DIR [--title-only]   (SITE_DIR is build-web/)
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import os from 'node:os';
import puppeteer from 'puppeteer-core';

const [site, shots, only] = process.argv.slice(2);
const titleOnly = only === '--title-only';
fs.mkdirSync(shots, { recursive: true });
const failures = [];
let run = '';  // 'phone-' in the phone's run, for its checks and its screenshots
const expect = (ok, what, detail = '') => {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${run}${what} ${detail}`);
    if (!ok) failures.push(run + what);
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The page's files, compressed beforehand and served as a web server serves them: gzipped,
// to a browser that accepts it. What they weigh so is what the page downloads.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.data': 'application/octet-stream',
    '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
const gzipped = new Map();
// velmora_replay beside the page is node's replayer, never fetched by the page.
for (const file of fs.readdirSync(site).filter((name) => types[path.extname(name)] && !name.startsWith('velmora_replay')))
    gzipped.set(`/${file}`, zlib.gzipSync(fs.readFileSync(path.join(site, file)), { level: 9 }));
const server = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
    if (!gzipped.has(name)) {
        response.writeHead(404).end();
        return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(name)], 'Content-Encoding': 'gzip' });
    response.end(gzipped.get(name));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const url = `http://127.0.0.1:${server.address().port}/`;

const download = [...gzipped.values()].reduce((sum, file) => sum + file.length, 0);
console.log(`budget: download gzipped ${(download / 1e6).toFixed(2)} MB`);
expect(download <= 12e6, 'the download, gzipped, is at most 12 MB');

const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-chromium-')),
    args: ['--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--autoplay-policy=no-user-gesture-required', '--no-sandbox', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', '--window-size=1920,1080'],
    defaultViewport: { width: 1920, height: 1080 },
});
const consoleErrors = [];
let exitCode = 1;
try {
    let page = await browser.newPage();
    page.on('console', (message) => {
        console.log(`page: ${message.text()}`);
        if (message.type() === 'error') consoleErrors.push(message.text());
    });
    page.on('pageerror', (error) => consoleErrors.push(String(error)));

    // The canvas as the player sees it, measured in the page: counts of the colours the
    // desktop window test looks for, scaled to a 1280x720 picture, and the mean change
    // between two looks.
    let box;
    const look = async (name) => {
        // The whole page, cut to the canvas when measured: a clipped capture shows the
        // WebGL canvas blank.
        const png = await page.screenshot({ encoding: 'base64' });
        if (name) fs.writeFileSync(path.join(shots, `${run}${name}.png`), Buffer.from(png, 'base64'));
        return png;
    };
    const measure = (png, other, region) => page.evaluate(async (png, other, region, box) => {
        const pixelsOf = async (data) => {
            const image = new Image();
            image.src = `data:image/${data.startsWith('/9j/') ? 'jpeg' : 'png'};base64,${data}`;
            await image.decode();
            // A screencast's pictures are the viewport made smaller.
            const k = image.naturalWidth / innerWidth;
            const width = Math.round(box.width * k), height = Math.round(box.height * k);
            const canvas = new OffscreenCanvas(width, height);
            const context = canvas.getContext('2d');
            context.drawImage(image, box.x * k, box.y * k, box.width * k, box.height * k, 0, 0, width, height);
            const [x, y, w, h] = region.map((f, i) => Math.round(f * (i % 2 ? height : width)));
            return { data: context.getImageData(x, y, w, h).data, scale: (1280 * 720) / (width * height) };
        };
        const { data, scale } = await pixelsOf(png);
        const before = other ? (await pixelsOf(other)).data : null;
        const kinds = {
            orange: (r, g, b) => r > 170 && g > 90 && g < r - 30 && b < g - 30,
            green: (r, g, b) => g > 140 && g > r + 30 && g > b + 30,
            marker: (r, g, b) => r > 220 && g > 50 && g < 150 && b < g - 20 && r - g > 100,
            yellow: (r, g, b) => r > 170 && g > 120 && b < g - 40,
        };
        const counts = { orange: 0, green: 0, marker: 0, yellow: 0 };
        let change = 0;
        for (let i = 0; i < data.length; i += 4) {
            for (const kind in kinds) if (kinds[kind](data[i], data[i + 1], data[i + 2])) counts[kind] += scale;
            if (before) change += Math.abs(data[i] - before[i]) + Math.abs(data[i + 1] - before[i + 1]) + Math.abs(data[i + 2] - before[i + 2]);
        }
        counts.change = before ? change / (3 * data.length / 4) : 0;
        return counts;
    }, png, other, region, box);
    // The whole canvas, its upper part, the ledge's deck underfoot, the menu's Resume bar.
    const whole = [0, 0, 1, 1], upper = [0, 0, 1, 0.6], deck = [0, 0.8, 1, 0.2], resumeBar = [0.27, 0.465, 0.46, 0.01];
    const waitFor = async (what, seconds, test) => {
        const deadline = Date.now() + seconds * 1000;
        while (Date.now() < deadline) {
            if (await test()) return true;
            await sleep(250);
        }
        return false;
    };
    const waitUntilStill = (seconds) => {
        let previous;
        return waitFor('still', seconds, async () => {
            const now = await look();
            const still = previous && (await measure(now, previous, upper)).change < 1.0;
            previous = now;
            await sleep(500);
            return still;
        });
    };

    // 1. The page, its dialog and the title. The page's paints are watched as they come (a
    // screencast, each picture stamped with its time), so that the time to the title is the
    // page's and not that of the test's screenshots; the time the dialog waited for the
    // click is the player's and is left out.
    const paints = [];
    let screencast = await page.target().createCDPSession();
    screencast.on('Page.screencastFrame', ({ data, metadata, sessionId }) => {
        paints.push({ data, at: metadata.timestamp * 1000 });
        screencast.send('Page.screencastFrameAck', { sessionId }).catch(() => {});
    });
    await screencast.send('Page.startScreencast', { format: 'jpeg', quality: 90, maxWidth: 960, maxHeight: 540 });
    await page.goto(url);
    await page.waitForSelector('#question button', { visible: true, timeout: 60000 });
    const canvasBox = () => page.$eval('#canvas', (c) => { const r = c.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width, height: r.height }; });
    box = await canvasBox();
    expect(Math.abs(box.width / box.height - 16 / 9) < 0.01, 'the canvas keeps 16:9', `${box.width}x${box.height}`);
    // Chromium's own language, en-US, gets the page's dialog in English.
    const dialog = await page.$$eval('#question-text, #question button', (parts) => parts.map((p) => p.textContent).join(' | '));
    expect(dialog === 'Confirm: Play in full screen? | Yes | No', 'the dialog asks in the browser\'s language', dialog);
    await look('00-question');
    const buttons = await page.$$('#question button');
    await buttons[buttons.length - 1].click();  // the last button: No, play in the page
    let titlePaint, checked = 0;
    const sawTitle = await waitFor('title', 60, async () => {
        for (; !titlePaint && checked < paints.length; ++checked)
            if ((await measure(paints[checked].data, null, [0.1, 0.2, 0.8, 0.45])).orange > 20000) titlePaint = paints[checked];
        return titlePaint !== undefined;
    });
    await screencast.send('Page.stopScreencast');
    const times = await page.evaluate(() => ({ origin: performance.timeOrigin, asked: Module.askedAt, answered: Module.answeredAt }));
    const toTitle = sawTitle ? (titlePaint.at - times.origin - (times.answered - times.asked)) / 1000 : Infinity;
    await look('01-title');
    console.log(`budget: page open to title ${toTitle.toFixed(2)} s (the dialog waited ${((times.answered - times.asked) / 1000).toFixed(2)} s for the click, not counted)`);
    expect(sawTitle, 'the title shows its orange letters');

    // Without WebGL 2 the page says why and what to do, in the player's language (Japanese here).
    const bare = await browser.newPage();
    await bare.evaluateOnNewDocument(() => {
        Object.defineProperty(navigator, 'languages', { get: () => ['ja-JP'] });
        const getContext = HTMLCanvasElement.prototype.getContext;
        HTMLCanvasElement.prototype.getContext = function (kind, ...rest) { return kind === 'webgl2' ? null : getContext.call(this, kind, ...rest); };
    });
    await bare.goto(url);
    const missing = await bare.$eval('#missing', (e) => getComputedStyle(e).display === 'block' && e.textContent);
    await bare.screenshot({ path: path.join(shots, '00-no-webgl2.png') });
    expect(/WebGL 2/.test(missing) && /ブラウザ/.test(missing), 'without WebGL 2 the page says why, in the player\'s language', missing);
    await bare.close();
    await page.bringToFront();

    // The rest of the play, steps 2 to 8.
    const playOn = async (phone) => {
        // The picture keeps 16:9 in a page of another shape too: the page opened in a tall tab.
        const tall = await browser.newPage();
        await tall.setViewport({ width: 900, height: 1000 });
        await tall.goto(url);
        await tall.waitForSelector('#question button', { visible: true, timeout: 60000 });
        const narrow = await tall.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());
        expect(Math.abs(narrow.width / narrow.height - 16 / 9) < 0.01 && narrow.width <= 900, 'the canvas keeps 16:9 in a tall page',
            `${narrow.width}x${narrow.height}`);
        await tall.close();
        await page.bringToFront();

        // 2. A held click fades into the play and captures the pointer; the sound runs.
        const centre = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
        await page.mouse.move(centre.x, centre.y);
        await page.mouse.down();
        await sleep(300);
        await page.mouse.up();
        const inPlay = await waitFor('play', 120, async () => (await measure(await look(), null, [0.66, 0.88, 0.34, 0.12])).green > 2000);
        expect(inPlay, 'the click goes into the play: the life gauge shows');
        await waitUntilStill(60);
        const play = await look('02-play');
        expect((await measure(play, null, [0.1, 0.2, 0.8, 0.45])).orange < 500, 'the title is gone');
        expect(phone ? await controlsShown() : await page.evaluate(() => document.pointerLockElement === Module.canvas),
            phone ? 'the tap shows the touch controls' : 'the click captured the pointer');
        const audio = await page.evaluate(() => (typeof AL !== 'undefined' && AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'));
        expect(audio === 'running', 'the AudioContext runs', audio);

        // The frame time: the frames the game showed in five seconds of play, standing still.
        const framesBefore = await page.evaluate(() => Module.framesShown);
        await sleep(5000);
        const framesShown = (await page.evaluate(() => Module.framesShown)) - framesBefore;
        console.log(`budget: frame time ${(5000 / framesShown).toFixed(1)} ms (${framesShown} frames in 5 s)`);

        // 3. The mouse turns the view (0.1 degree a pixel): 15 degrees right.
        let pointer = { ...centre };
        const moveBy = async (dx, dy) => {
            pointer = { x: pointer.x + dx, y: pointer.y + dy };
            await page.mouse.move(pointer.x, pointer.y, { steps: 10 });
        };
        await sleep(1000);
        const idle = (await measure(await look(), play, upper)).change;
        await moveBy(150, 0);
        await sleep(1000);
        const turned = await look('03-turned-right');
        const turnChange = (await measure(turned, play, upper)).change;
        expect(turnChange > 3 * idle + 4, 'the mouse turns the view', `change ${turnChange.toFixed(1)}, idle ${idle.toFixed(1)}`);

        // 4. W walks: facing east, until the east wall stops the machine.
        await moveBy(-1050, 0);
        await sleep(1000);
        const east = await look('04-facing-east');
        await page.keyboard.down('w');
        await sleep(1500);
        const walked = (await measure(await look(), east, upper)).change;
        expect(walked > 3 * idle + 4, 'holding W moves the view', `change ${walked.toFixed(1)}`);
        await waitUntilStill(120);
        await page.keyboard.up('w');
        await look('05-at-the-east-wall');

        // 5. Down the hall along the wall, aiming, until the lock-on marker shows on rope 0.
        const markers = async () => (await measure(await look(), null, whole)).marker;
        await moveBy(960, 0);
        await sleep(200);
        await moveBy(0, -300);
        await sleep(500);
        await page.mouse.down();
        await sleep(500);
        expect((await measure(await look('06-aiming'), null, whole)).marker < 300, 'no lock-on before an anchor is in line');
        // Walking, every picture the page paints is looked at (its screencast), and the keys
        // are let go at the first with the marker: at the game's pace, screenshots taken
        // one after another would let the machine walk on past the anchor's line. The
        // phone's small pictures come as PNG: JPEG blurs the marker's thin red lines away.
        let lockSeen = false, looking = false, mostMarker = 0;
        const watchForLock = async ({ data }) => {
            if (lockSeen || looking) return;
            looking = true;
            const marker = (await measure(data, null, whole)).marker;
            mostMarker = Math.max(mostMarker, marker);
            if (marker > 300) {
                lockSeen = true;
                await page.keyboard.up('w');
                await page.keyboard.up('a');
            }
            looking = false;
        };
        paints.length = 0;
        screencast.on('Page.screencastFrame', watchForLock);
        await screencast.send('Page.startScreencast', { format: phone ? 'png' : 'jpeg', quality: 90, maxWidth: 960, maxHeight: 540 });
        await page.keyboard.down('w');
        await page.keyboard.down('a');
        const locked = await waitFor('lock', 240, async () => lockSeen);
        await page.keyboard.up('w');
        await page.keyboard.up('a');
        await screencast.send('Page.stopScreencast');
        screencast.off('Page.screencastFrame', watchForLock);
        paints.length = 0;
        const stepBackIntoLine = () => waitFor('line', 30, async () => {
            if ((await markers()) > 300) return true;
            await page.keyboard.down('s');
            await page.keyboard.down('d');
            await sleep(50);
            await page.keyboard.up('s');
            await page.keyboard.up('d');
            await sleep(200);
            return false;
        });
        expect(locked && (await stepBackIntoLine()), 'the lock-on marker shows on the anchor', `most seen walking ${mostMarker.toFixed(0)}`);
        const lockedOn = await look('07-locked-on');

        // 6. Release: the thread pulls the machine up to the ledge; a dragonfly caught on the
        // way comes back as a ball, which a click throws away before the next shot.
        let pulled = false;
        for (let attempt = 1; attempt <= 3 && !pulled; ++attempt) {
            if (attempt > 1) {
                await page.mouse.down();
                await sleep(300);
                await page.mouse.up();
                await sleep(3000);
                await page.mouse.down();
                await sleep(500);
                await stepBackIntoLine();
            }
            await page.mouse.up();
            await sleep(400);
            await look('08-thread-out');
            let previous = await look();
            // Pulled: the view away from the shot and still, on the yellow deck (a dragonfly
            // caught on the way comes home as a ball, which changes the view as much).
            pulled = await waitFor('pull', 60, async () => {
                await sleep(1000);
                const now = await look();
                const away = (await measure(now, lockedOn, [0, 0, 1, 0.45])).change;
                const moving = (await measure(now, previous, upper)).change;
                previous = now;
                return away > 15 && moving < 1.0 && (await measure(now, null, deck)).yellow > 20000;
            });
        }
        await sleep(2000);
        const ledge = await look('09-pulled-up');
        expect(pulled, 'the thread pulls the machine away from where it shot');
        expect((await measure(ledge, null, deck)).yellow > 20000, "it stands on the ledge's yellow deck");
        if (phone) return;

        // 7. Escape frees the pointer: the pause menu opens (no Quit in a page) and the play
        // waits, taking no keys; a click on Resume captures the pointer again.
        await page.keyboard.press('Escape');
        await page.evaluate(() => document.exitPointerLock());
        await sleep(1000);
        expect(await page.evaluate(() => !document.pointerLockElement && Module.exitCode === undefined),
            'Escape frees the pointer and the game waits');
        const freed = await look('10-pause-menu');
        expect((await measure(freed, null, resumeBar)).orange > 3700, 'the pause menu shows Resume, a solid orange bar');
        await page.keyboard.down('w');
        await sleep(1500);
        await page.keyboard.up('w');
        const walkedFreed = (await measure(await look(), freed, [0, 0, 1, 0.6])).change;
        expect(walkedFreed < 4, 'with the menu open the game takes no keys', `change ${walkedFreed.toFixed(1)}`);
        // The volume, the first setting, from 100 to 80: the audio plays at 0.8 the gain,
        // and the menu copies the settings file to the browser's storage.
        const gain = () => page.evaluate(() => AL.currentCtx.gain.gain.value);
        const gainBefore = await gain();
        for (const key of ['ArrowDown', 'Enter', 'ArrowLeft', 'ArrowLeft', 'Escape']) await page.keyboard.press(key);
        await sleep(500);
        const gainSet = await gain();
        expect(Math.abs(gainSet / gainBefore - 0.8) < 0.01 && (await page.evaluate(() => Module.settingsCopies > 0)),
            'the volume set to 80 plays and is copied to storage', `gain ${gainBefore} to ${gainSet}`);
        // A click on Resume closes the menu; the browser lets a page lock the pointer only
        // from within a click, so the game's request waits for the next one.
        await page.mouse.move(box.x + box.width / 2, box.y + box.height * 0.49);
        await page.mouse.down();
        await sleep(100);
        await page.mouse.up();
        await sleep(1000);
        expect((await measure(await look('10-resumed'), null, resumeBar)).orange < 3700, 'a click on Resume closes the menu');
        await page.mouse.down();
        await sleep(100);
        await page.mouse.up();
        await sleep(500);
        expect(await page.evaluate(() => document.pointerLockElement === Module.canvas), 'the next click captures the pointer again');
        const framesResumed = await page.evaluate(() => Module.framesShown);
        await sleep(1000);
        expect((await page.evaluate(() => Module.framesShown)) > framesResumed, 'the play draws again');

        // The tab hidden (another tab, the phone locked): the menu opens and the sound stops;
        // Escape, back in the tab, closes the menu.
        const hide = (hidden) => page.evaluate((hidden) => {
            Object.defineProperty(document, 'hidden', { value: hidden, configurable: true });
            document.dispatchEvent(new Event('visibilitychange'));
        }, hidden);
        await hide(true);
        await sleep(1000);
        const hiddenMenu = (await measure(await look('10-hidden-tab'), null, resumeBar)).orange > 3700;
        const hiddenSound = await page.evaluate(() => AL.currentCtx.audioCtx.state);
        await hide(false);
        expect(hiddenMenu && hiddenSound === 'suspended', 'a hidden tab opens the menu and stops the sound', hiddenSound);
        await page.keyboard.press('Escape');
        await sleep(500);

        // A pad (the standard mapping) scripted in navigator.getGamepads: its left stick
        // walks, its Start opens the menu.
        const pad = (axes, start) => page.evaluate((axes, start) => {
            const state = (window.pad ||= { id: 'Scripted pad', index: 0, connected: true, mapping: 'standard', timestamp: 0 });
            Object.assign(state, { axes, timestamp: state.timestamp + 1, buttons: [...Array(17)].map((_, i) => ({ pressed: start && i === 9, value: +(start && i === 9) })) });
            navigator.getGamepads = () => [state];
            if (state.timestamp === 1) window.dispatchEvent(Object.assign(new Event('gamepadconnected'), { gamepad: state }));
        }, axes, start);
        await pad([0, 0, 0, 0], false);
        const beforePad = await look();
        await pad([0, -1, 0, 0], false);
        await sleep(1500);
        const padWalked = (await measure(await look(), beforePad, upper)).change;
        await pad([0, 0, 0, 0], true);
        await sleep(1000);
        expect(padWalked > 4 && (await measure(await look('10-pad-menu'), null, resumeBar)).orange > 3700,
            "the pad's stick walks and its Start opens the menu", `change ${padWalked.toFixed(1)}`);
        const alError = await page.evaluate(() => (AL.currentCtx ? AL.currentCtx.err : -1));
        expect(alError === 0, 'no OpenAL error is pending', String(alError));

        // 8. Opened again, Yes to the question: the click puts the canvas in full screen and
        // the title fills the screen.
        await page.reload();
        await page.waitForSelector('#question button', { visible: true, timeout: 60000 });
        await (await page.$$('#question button'))[0].click();
        box = { x: 0, y: 0, width: 1920, height: 1080 };
        const fullTitle = await waitFor('title', 60, async () => (await measure(await look(), null, [0.1, 0.2, 0.8, 0.45])).orange > 20000);
        await look('11-full-screen-title');
        expect(fullTitle && (await page.evaluate(() => document.fullscreenElement === Module.canvas)),
            'Yes puts the canvas in full screen, the title fills it');

        // 9. The volume came back from the browser's storage; the page can be installed; with
        // the network off it opens to the title from its service worker.
        expect(Math.abs((await gain()) - gainSet) < 0.01, 'the volume set in the menu is kept over a reload', `gain ${await gain()}`);
        const { installabilityErrors } = await screencast.send('Page.getInstallabilityErrors');
        expect(installabilityErrors.length === 0, 'the page is installable', installabilityErrors.map((e) => e.errorId).join());
        await page.evaluate(() => navigator.serviceWorker.ready);
        await page.setOfflineMode(true);
        paints.length = 0;
        await screencast.send('Page.startScreencast', { format: 'jpeg', quality: 90, maxWidth: 960, maxHeight: 540 });
        await page.reload();
        await page.waitForSelector('#question button', { visible: true, timeout: 60000 });
        await (await page.$$('#question button')).pop().click();
        box = await canvasBox();
        let swTitle;
        expect(await waitFor('title', 60, async () => {
            for (const paint of paints.splice(0)) swTitle ||= (await measure(paint.data, null, [0.1, 0.2, 0.8, 0.45])).orange > 20000 && paint;
            return swTitle;
        }), 'with the network off the page opens to the title');
        const opened = await page.evaluate(() => performance.timeOrigin + Module.answeredAt - Module.askedAt);
        console.log(`budget: page open to title ${((swTitle?.at - opened) / 1000).toFixed(2)} s, offline from the service worker`);
        await page.setOfflineMode(false);
    };
    // 10. A phone in landscape (844 x 390, touch, mobile), in a browser context of its own,
    // plays the route by touch alone: the keys are the stick, the mouse's motion drags on the
    // right half, its button the thread button in the play (else a tap where it points).
    // Fingers go through the DevTools protocol, all that are down with every press or move.
    const controlsShown = () => page.$eval('#touch', (e) => getComputedStyle(e).display === 'block');
    const phoneRun = async () => {
        run = 'phone-';
        await page.close();  // its game would share the machine with the phone's
        const phone = { width: 844, height: 390, isMobile: true, hasTouch: true }, real = await (await browser.createBrowserContext()).newPage();
        // A private window's kind of browser: its storage refused, the game plays on its defaults.
        await real.evaluateOnNewDocument(() => {
            indexedDB.open = () => { throw new DOMException('The user denied permission to access the database.', 'SecurityError'); };
        });
        real.on('console', (message) => message.type() === 'error' && consoleErrors.push(message.text())).on('pageerror', (error) => consoleErrors.push(String(error)));
        await real.setViewport(phone);
        screencast = await real.target().createCDPSession();
        screencast.on('Page.screencastFrame', ({ data, sessionId }) => paints.push({ data }) && screencast.send('Page.screencastFrameAck', { sessionId }));
        const down = new Map(), walking = new Set();
        let touches = 0, last = { x: 0, y: 0 };
        const send = (type) => screencast.send('Input.dispatchTouchEvent', { type, touchPoints: [...down].map(([id, p]) => ({ id, ...p })) });
        const put = (id, x, y) => {
            const type = down.has(id) ? 'touchMove' : (++touches, 'touchStart');
            down.set(id, { x, y });
            return send(type);
        };
        // Chromium lifts the fingers a touch end names and keeps the others down.
        const lift = (id) => down.has(id) && screencast.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [{ id, ...down.get(id) }] }) && down.delete(id);
        const walk = async () => {
            const [x, y, cx, cy] = [walking.has('d') - walking.has('a'), walking.has('s') - walking.has('w'), box.x + 0.2 * box.width, box.y + 0.65 * box.height];
            if (!walking.size) return lift(1);
            if (!down.has(1)) await put(1, cx, cy);
            await put(1, cx + (x * 0.16 * box.height) / Math.hypot(x, y), cy + (y * 0.16 * box.height) / Math.hypot(x, y));
        };
        const mouse = {
            down: async () => ((await controlsShown()) ? put(3, box.x + box.width - 0.208 * box.height, box.y + 0.792 * box.height) : put(0, last.x, last.y)),
            up: () => lift(down.has(3) ? 3 : 0),
            move: async (x, y) => {  // drags of at most 0.3 of the width, about the right half's middle
                const drags = (await controlsShown()) ? Math.ceil(Math.max(Math.abs(x - last.x) / (0.3 * box.width), Math.abs(y - last.y) / (0.6 * box.height))) : 0;
                for (let drag = 0; drag < drags; ++drag, await lift(2))
                    for (let step = 0; step <= 8; ++step)
                        await put(2, box.x + 0.7 * box.width + ((x - last.x) / drags) * (step / 8 - 0.5), box.y + 0.45 * box.height + ((y - last.y) / drags) * (step / 8 - 0.5));
                last = { x, y };
            },
        };
        const keyboard = { down: (key) => walk(walking.add(key)), up: (key) => walk(walking.delete(key)) };
        page = new Proxy(real, { get: (target, name) => ({ mouse, keyboard })[name] ?? target[name].bind?.(target) ?? target[name] });
        await real.emulateNetworkConditions({ download: 2e6, upload: 1e6, latency: 20 });
        await page.goto(url);
        const loading = () => page.$eval('#status-text', (e) => e.textContent);
        expect(await waitFor('bar', 60, async () => /^Loading… [1-9][0-9.]* of [0-9.]+ MB$/.test(await loading())), 'the loading bar counts the bytes', await loading());
        await look('20-loading');
        await real.emulateNetworkConditions(null);
        const no = await (await page.waitForSelector('#question button:last-child', { visible: true, timeout: 120000 })).boundingBox();
        await mouse.move(no.x + no.width / 2, no.y + no.height / 2);
        await mouse.down();
        await mouse.up();
        box = await canvasBox();
        expect(await waitFor('title', 60, async () => (await measure(await look(), null, [0.1, 0.2, 0.8, 0.45])).orange > 20000), 'a tap on No, the title');
        expect(await page.evaluate(() => Module.storageRefused === true), 'with storage refused the game still starts');
        await page.setViewport({ ...phone, width: 390, height: 844 });
        await sleep(500);
        expect((await page.$eval('#turn', (e) => getComputedStyle(e).display)) === 'block', 'upright, the page asks to turn the phone');
        await look('21-upright');
        await page.setViewport(phone);
        await sleep(500);
        box = await canvasBox();
        const started = Date.now();
        await playOn(true);
        console.log(`budget: the phone's route, title to rope 0's ledge by touch alone: ${touches} touches, ${((Date.now() - started) / 1000).toFixed(0)} s`);
        // The pause button opens the menu, whose rows a finger can tap (9 mm: 54 CSS pixels on
        // a phone). The settings do not all fit at that height: four drags up bring Back, the
        // lowest, into view, a tap on it shows the first page with Settings chosen, and a tap
        // on Resume resumes.
        const settingsBar = [0.27, 0.599, 0.46, 0.01], dragUp = async () => {
            for (let step = 0; step <= 10; ++step) await put(4, box.x + box.width / 2, box.y + (0.75 - 0.055 * step) * box.height);
            await lift(4);
        };
        for (const [y, name, bar, drags] of [[0.1125, '23-pause-menu', resumeBar, 0], [0.599, '24-settings', null, 0],
            [0.799, '25-back', settingsBar, 4], [0.465, '26-resumed', resumeBar, 0]]) {
            for (let drag = 0; drag < drags; ++drag) await dragUp();
            await put(4, box.x + (y < 0.2 ? box.width - y * box.height : box.width / 2), box.y + y * box.height);
            await lift(4);
            await sleep(1000);
            // The chosen row's height down a column its words leave free: centred on the first
            // page, at the left and right on the settings page.
            const menu = await look(name), columns = [];
            for (const x of [0.3, 0.5]) columns.push((await measure(menu, null, [x, 0, 0.002, 1])).orange);
            const row = (Math.max(...columns) * box.width * box.height) / (1280 * 720);
            const barShown = !bar || (await measure(menu, null, bar)).orange > 3700, open = name !== '26-resumed';
            expect(open ? barShown && row >= 54 : !barShown, name, `the chosen row ${row.toFixed(0)} px`);
        }
    };
    if (!titleOnly) await playOn();
    if (!titleOnly) await phoneRun();
    expect(consoleErrors.length === 0, 'no error in the console', consoleErrors.join(' | '));
    exitCode = failures.length ? 1 : 0;
} catch (error) {
    console.log(`FAIL ${error.stack || error}`);
} finally {
    await browser.close();
    server.close();
}
console.log(exitCode ? `FAILED: ${failures.join('; ')}` : 'PASSED');
process.exit(exitCode);
