import java.util.*; import java.util.regex.*; import java.nio.file.*;
public class Oracle {
  static String un(String s){StringBuilder b=new StringBuilder();for(int i=0;i<s.length();i++){char c=s.charAt(i);if(c=='%'&&i+4<s.length()){b.append((char)Integer.parseInt(s.substring(i+1,i+5),16));i+=4;}else b.append(c);}return b.toString();}
  static String esc(String s){StringBuilder b=new StringBuilder();for(char c:s.toCharArray()){if(c<0x20||c>0x7e||c=='%'||c=='|')b.append(String.format("%%%04X",(int)c));else b.append(c);}return b.toString();}
  public static void main(String[] a) throws Exception {
    for (String line : Files.readAllLines(Paths.get(a[0]))) {
      String[] f = line.split("\t", -1);
      String op=f[0], p=un(f[1]), in=un(f[2]), arg=un(f[3]); int flags = f.length>4? Integer.parseInt(f[4]) : 0;
      String r;
      try {
        Pattern pat = Pattern.compile(p, flags);
        switch(op){
          case "m": r = ""+pat.matcher(in).matches(); break;
          case "s": { String[] parts = pat.split(in, Integer.parseInt(arg)); StringBuilder b=new StringBuilder("["); for(String x:parts) b.append(esc(x)).append("|"); r=b.append("]").toString(); break; }
          case "ra": r = esc(pat.matcher(in).replaceAll(arg)); break;
          case "rf": r = esc(pat.matcher(in).replaceFirst(arg)); break;
          case "f": { Matcher m = pat.matcher(in); StringBuilder b=new StringBuilder(); while (m.find()) { for (int g=0; g<=m.groupCount(); g++) b.append(m.start(g)).append(",").append(m.end(g)).append(";"); b.append(" ");} r=b.toString(); break; }
          default: r="?";
        }
      } catch (PatternSyntaxException e) { r = "PSE " + esc(e.getMessage()); }
        catch (Exception e) { r = e.getClass().getSimpleName() + " " + esc(String.valueOf(e.getMessage())); }
      System.out.println(r);
    }
  }
}
