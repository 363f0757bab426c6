import java.applet.*;
import java.awt.Image;
import java.io.*;
import java.net.URL;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.*;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/** The browser's side of the applet for tests: the tag and parameters of a generated page, and
 *  a record of the pages ("URL" or "URL in TARGET") and sounds that the applet asks for. */
final class AppletHost implements AppletStub, AppletContext {
    final URL documentBase;
    final Map<String, String> parameters = new HashMap<String, String>();
    final int width;
    final int height;
    final List<String> shown = Collections.synchronizedList(new ArrayList<String>());
    final List<String> played = Collections.synchronizedList(new ArrayList<String>());

    AppletHost(File page) throws IOException {
        this(page, page.toURI().toURL());
    }

    /** The page as a browser shows it from documentBase, a web server's address for it. */
    AppletHost(File page, URL documentBase) throws IOException {
        this.documentBase = documentBase;
        String html = new String(Files.readAllBytes(page.toPath()), StandardCharsets.UTF_8);
        Matcher tag = Pattern.compile("<APPLET CODE=Zarnith\\.class WIDTH=(\\d+) HEIGHT=(\\d+)>").matcher(html);
        if (!tag.find()) {
            throw new IOException("no applet tag in " + page);
        }
        width = Integer.parseInt(tag.group(1));
        height = Integer.parseInt(tag.group(2));
        Matcher param = Pattern.compile("<PARAM NAME=(\\w+) VALUE=(?:\"([^\"]*)\"|([^>\\s]*))>").matcher(html);
        while (param.find()) {
            parameters.put(param.group(1), decodeEntities(param.group(2) != null ? param.group(2) : param.group(3)));
        }
    }

    /** One pass of a browser's entity decoding; "&amp" needs no semicolon in attribute values. */
    static String decodeEntities(String value) {
        StringBuffer out = new StringBuffer();
        Matcher entity = Pattern.compile("&(amp;?|quot;|lt;|gt;|#(\\d+);)").matcher(value);
        while (entity.find()) {
            String name = entity.group(1);
            String decoded = name.startsWith("amp") ? "&" : name.equals("quot;") ? "\"" : name.equals("lt;") ? "<"
                : name.equals("gt;") ? ">" : new String(Character.toChars(Integer.parseInt(entity.group(2))));
            entity.appendReplacement(out, Matcher.quoteReplacement(decoded));
        }
        return entity.appendTail(out).toString();
    }

    List<String> shown() {
        synchronized (shown) {
            return new ArrayList<String>(shown);
        }
    }

    @Override public boolean isActive() { return true; }
    @Override public URL getDocumentBase() { return documentBase; }
    @Override public URL getCodeBase() { return documentBase; }
    @Override public String getParameter(String name) { return parameters.get(name); }
    @Override public AppletContext getAppletContext() { return this; }
    @Override public void appletResize(int w, int h) { }
    @Override public Image getImage(URL url) { return null; }
    @Override public Applet getApplet(String name) { return null; }
    @Override public Enumeration<Applet> getApplets() { return Collections.emptyEnumeration(); }
    @Override public void showDocument(URL url) { shown.add(url.toString()); }
    @Override public void showDocument(URL url, String target) { shown.add(url + " in " + target); }
    @Override public void showStatus(String status) { }
    @Override public void setStream(String key, InputStream stream) { }
    @Override public InputStream getStream(String key) { return null; }
    @Override public Iterator<String> getStreamKeys() { return Collections.<String>emptyList().iterator(); }

    @Override
    public AudioClip getAudioClip(URL url) {
        return new AudioClip() {
            @Override public void play() { played.add(url.toString()); }
            @Override public void loop() { played.add(url.toString()); }
            @Override public void stop() { }
        };
    }
}
